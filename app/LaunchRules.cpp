#include "LaunchRules.h"

#include "hardware/XdgFolder.h"

#include <sys/stat.h>
#include <unistd.h>

namespace sentinax {

const std::vector<std::string>& SystemInfoCandidates() {
    static const std::vector<std::string> candidates = {"hardinfo2", "hardinfo", "kinfocenter",
                                                        "gnome-system-monitor"};
    return candidates;
}

namespace {

bool IsExecutableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

bool IsUrlPlaceholder(std::string_view word) {
    return word == "%u" || word == "%U" || word == "%f" || word == "%F";
}

// A quoted word of an Exec line, as written (quotes kept), so that a quoted
// placeholder can be told from a bare one before unquoting.
std::vector<std::string> RawWords(std::string_view exec, bool& ok) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false, quoted = false;
    ok = true;
    for (size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (quoted) {
            word += c;
            if (c == '\\' && i + 1 < exec.size()) {
                word += exec[++i];
            } else if (c == '"') {
                quoted = false;
            }
        } else if (c == ' ' || c == '\t') {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
            if (c == '"')
                quoted = true;
        }
    }
    if (quoted) {
        ok = false;
        return {};
    }
    if (inWord)
        words.push_back(word);
    return words;
}

std::string Unquote(const std::string& raw) {
    std::string out;
    bool quoted = false;
    for (size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (quoted && c == '\\' && i + 1 < raw.size()) {
            out += raw[++i];
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

std::string FindOnPath(std::string_view program, std::string_view pathList) {
    if (program.empty())
        return {};
    if (program.find('/') != std::string_view::npos)
        return IsExecutableFile(std::string(program)) ? std::string(program) : std::string();
    size_t start = 0;
    while (start <= pathList.size()) {
        size_t end = pathList.find(':', start);
        if (end == std::string_view::npos)
            end = pathList.size();
        std::string folder(pathList.substr(start, end - start));
        if (folder.empty())
            folder = "."; // an empty entry is the working folder, as for the shell
        const std::string candidate = folder + "/" + std::string(program);
        if (IsExecutableFile(candidate))
            return candidate;
        start = end + 1;
    }
    return {};
}

std::vector<std::string> SplitExecLine(std::string_view exec) {
    bool ok = false;
    std::vector<std::string> words;
    for (const std::string& raw : RawWords(exec, ok))
        words.push_back(Unquote(raw));
    return ok ? words : std::vector<std::string>{};
}

std::vector<std::string> BrowserCommand(std::string_view exec, const std::string& target) {
    bool ok = false;
    const std::vector<std::string> raw = RawWords(exec, ok);
    if (!ok || raw.empty())
        return {};
    size_t cut = raw.size();
    for (size_t i = 0; i < raw.size() && cut == raw.size(); ++i) {
        const std::string& w = raw[i];
        if (w.size() == 4 && w.front() == '"' && w.back() == '"' &&
            IsUrlPlaceholder(std::string_view(w).substr(1, 2)))
            cut = i;
    }
    for (size_t i = 0; i < raw.size() && cut == raw.size(); ++i) {
        if (IsUrlPlaceholder(raw[i]))
            cut = i;
    }
    std::vector<std::string> words;
    for (size_t i = 0; i < cut; ++i) {
        const std::string word = Unquote(raw[i]);
        if (word.size() == 2 && word[0] == '%' && word[1] != '%')
            continue; // a field code of its own (%i, %c, %k...)
        std::string text;
        for (size_t k = 0; k < word.size(); ++k) {
            if (word[k] == '%' && k + 1 < word.size() && word[k + 1] == '%')
                ++k;
            text += word[k];
        }
        words.push_back(text);
    }
    if (words.empty())
        return {};
    words.push_back(target);
    return words;
}

std::optional<std::string> DesktopEntryExec(std::string_view text) {
    bool inEntry = false;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!line.empty() && line.front() == '[') {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        if (!inEntry || line.substr(0, 4) != "Exec")
            continue;
        std::string_view rest = line.substr(4);
        while (!rest.empty() && rest.front() == ' ')
            rest.remove_prefix(1);
        if (rest.empty() || rest.front() != '=')
            continue; // Exec[...] or another key
        rest.remove_prefix(1);
        while (!rest.empty() && rest.front() == ' ')
            rest.remove_prefix(1);
        return std::string(rest);
    }
    return std::nullopt;
}

std::vector<std::string> ApplicationFolders(const char* dataHome, const char* dataDirs,
                                            const char* home) {
    std::vector<std::string> folders;
    if (const std::string data = XdgUserFolder(dataHome, home, ".local/share"); !data.empty())
        folders.push_back(data + "/applications");
    const std::string dirs = dataDirs && *dataDirs ? dataDirs : "/usr/local/share:/usr/share";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos)
            end = dirs.size();
        const std::string dir = dirs.substr(start, end - start);
        if (!dir.empty() && dir[0] == '/')
            folders.push_back(dir + "/applications");
        start = end + 1;
    }
    return folders;
}

} // namespace sentinax
