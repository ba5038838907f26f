#include "TextParse.h"

#include "../ProblemCap.h"
#include "../RegularFile.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace hmio {

namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}
} // namespace

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> SplitWords(std::string_view text) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i]))
            ++i;
        const size_t start = i;
        while (i < text.size() && !IsBlank(text[i]))
            ++i;
        if (i > start)
            words.push_back(text.substr(start, i - start));
    }
    return words;
}

bool SplitQuotedWords(std::string_view line, std::vector<std::string>& words) {
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i]))
            ++i;
        if (i >= line.size())
            break;
        if (line[i] == '"') {
            const size_t close = line.find('"', i + 1);
            if (close == std::string_view::npos)
                return false;
            words.emplace_back(line.substr(i + 1, close - i - 1));
            i = close + 1;
            continue;
        }
        const size_t start = i;
        while (i < line.size() && !IsBlank(line[i]))
            ++i;
        words.emplace_back(line.substr(start, i - start));
    }
    return true;
}

std::optional<int64_t> ParseInteger(std::string_view token) {
    if (token.empty() || token.size() > 24)
        return std::nullopt;
    const std::string copy(token);
    const bool hex = copy.size() > 2 && copy[0] == '0' && (copy[1] == 'x' || copy[1] == 'X');
    if (!hex && !(copy[0] == '-' || copy[0] == '+' || (copy[0] >= '0' && copy[0] <= '9')))
        return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(copy.c_str(), &end, hex ? 16 : 10);
    if (errno != 0 || end == copy.c_str() || *end != '\0')
        return std::nullopt;
    return value;
}

std::string LineError(const std::string& file, int line, const std::string& what) {
    return file + ":" + std::to_string(line) + ": " + what;
}

std::optional<std::string> ReadWholeFile(const std::string& path, size_t maxBytes) {
    // Without blocking, and only a regular file: a FIFO named as a scenario
    // or channel map must not stall the monitor that loads us.
    sentinax::FileCheck check;
    const int fd = sentinax::OpenRegularFile(path, O_RDONLY, check);
    if (fd < 0)
        return std::nullopt;
    std::string data;
    char chunk[8192];
    while (data.size() < maxBytes) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        data.append(chunk, static_cast<size_t>(n));
    }
    ::close(fd);
    if (data.size() > maxBytes)
        data.resize(maxBytes);
    return data;
}

namespace {

// The file of a "file:line: what" message (up to the first ":<digits>:").
std::string FileOf(const std::string& message) {
    for (size_t colon = message.find(':'); colon != std::string::npos;
         colon = message.find(':', colon + 1)) {
        size_t end = colon + 1;
        while (end < message.size() && message[end] >= '0' && message[end] <= '9')
            ++end;
        if (end > colon + 1 && end < message.size() && message[end] == ':')
            return message.substr(0, colon);
    }
    return "the same file";
}

void WriteLine(const std::string& text) {
    const std::string line = text + "\n";
    (void)!::write(STDERR_FILENO, line.data(), line.size());
}

} // namespace

void ReportErrors(const ParseErrors& errors) {
    // One parse's problems, from one file: the first few are said, the rest counted.
    sentinax::ProblemCap cap(errors.size() > sentinax::ProblemCap::kShownProblems
                                 ? FileOf(errors[sentinax::ProblemCap::kShownProblems])
                                 : std::string());
    for (const std::string& message : errors) {
        if (cap.Take())
            WriteLine(message);
    }
    if (const std::string closing = cap.Closing(); !closing.empty())
        WriteLine(closing);
}

} // namespace hmio
