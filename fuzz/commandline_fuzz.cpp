// libFuzzer target for the program's command line: any bytes as the argument
// list (NUL-separated, program name first), then the autostart entry written
// for the first argument as the program's path and the entry's path from the
// next two as XDG_CONFIG_HOME and HOME.
#include "FuzzParts.h"

#include "app/CommandLine.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

using namespace sentinax;

namespace {

// The Exec line's quoted argument with its backslash escapes undone.
std::string Unquote(const std::string& quoted) {
    if (quoted.size() < 2 || quoted.front() != '"' || quoted.back() != '"')
        std::abort();
    std::string out;
    for (std::size_t i = 1; i + 1 < quoted.size(); ++i) {
        char c = quoted[i];
        if (c == '\\') {
            c = quoted[++i];
            if (i + 1 >= quoted.size() || (c != '"' && c != '`' && c != '$' && c != '\\'))
                std::abort(); // only these are escaped
        } else if (c == '"' || c == '`' || c == '$') {
            std::abort(); // left bare inside the quotes
        }
        out += c;
    }
    return out;
}

void CheckEntry(const std::string& path) {
    const std::string entry = AutostartEntry(path);
    bool control = false;
    for (unsigned char c : path)
        control = control || c < 0x20 || c == 0x7f;
    if (entry.empty() != control)
        std::abort(); // refused exactly when a control character could break a line
    if (entry.empty())
        return;
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = entry.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(entry.substr(start, end - start));
    if (start != entry.size() || lines.size() != 8 || lines[0] != "[Desktop Entry]")
        std::abort(); // a path never adds, splits or ends lines
    int execLines = 0;
    for (const std::string& line : lines)
        execLines += line.rfind("Exec=", 0) == 0;
    if (execLines != 1 || lines[4].rfind("Exec=", 0) != 0 || Unquote(lines[4].substr(5)) != path)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> args;
    while (!rest.empty() && args.size() < 64)
        args.emplace_back(fuzz::TakePart(rest));
    const char* metricsVariable = size % 2 == 0 ? nullptr : "/from-environment";
    const CommandLine line = ParseCommandLine(args, metricsVariable);

    // What is left for Qt is the program name and arguments in their order.
    if (args.empty() ? !line.Rest.empty() : (line.Rest.empty() || line.Rest[0] != args[0]))
        std::abort();
    std::size_t at = 0;
    for (const std::string& kept : line.Rest) {
        while (at < args.size() && args[at] != kept)
            ++at;
        if (at++ >= args.size())
            std::abort();
    }
    if (line.Rest.size() > args.size())
        std::abort();
    if (line.Error.empty() && line.MetricsFolder.empty() && metricsVariable != nullptr)
        std::abort(); // an empty folder is refused, so the variable's value stays
    (void)UsageText();

    if (!args.empty())
        CheckEntry(args[0]);
    const std::string entryPath = AutostartEntryPath(args.size() > 1 ? args[1].c_str() : nullptr,
                                                     args.size() > 2 ? args[2].c_str() : nullptr);
    const std::string tail = "/autostart/sentinax4.desktop";
    if (!entryPath.empty() &&
        (entryPath[0] != '/' || entryPath.size() < tail.size() ||
         entryPath.compare(entryPath.size() - tail.size(), tail.size(), tail) != 0))
        std::abort();
    return 0;
}
