#include "RelativePath.h"

namespace sentinax {

namespace {

bool IsNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// Reads a class or property name at pos; empty when there is none.
std::string ReadName(const std::string& text, std::size_t& pos) {
    const std::size_t start = pos;
    while (pos < text.size() && IsNameChar(text[pos])) {
        ++pos;
    }
    return text.substr(start, pos - start);
}

} // namespace

std::optional<std::string> RelativePath::Key(const std::string& name) const {
    for (const auto& [key, value] : Keys) {
        if (key == name) {
            return value;
        }
    }
    return std::nullopt;
}

std::string BuildRelativePath(const RelativePath& path) {
    std::string out = path.ClassName;
    char separator = '.';
    for (const auto& [key, value] : path.Keys) {
        out += separator;
        out += key;
        out += "=\"";
        for (const char c : value) {
            if (c == '\\' || c == '"') {
                out += '\\';
            }
            out += c;
        }
        out += '"';
        separator = ',';
    }
    return out;
}

std::optional<RelativePath> ParseRelativePath(const std::string& text) {
    RelativePath path;
    std::size_t pos = 0;
    path.ClassName = ReadName(text, pos);
    if (path.ClassName.empty() || pos >= text.size() || text[pos] != '.') {
        return std::nullopt;
    }
    do {
        ++pos; // the '.' or ','
        std::string key = ReadName(text, pos);
        if (key.empty() || text.compare(pos, 2, "=\"") != 0) {
            return std::nullopt;
        }
        pos += 2;
        std::string value;
        bool closed = false;
        while (pos < text.size()) {
            const char c = text[pos++];
            if (c == '"') {
                closed = true;
                break;
            }
            if (c == '\\') {
                if (pos >= text.size()) {
                    return std::nullopt;
                }
                value += text[pos++];
            } else {
                value += c;
            }
        }
        if (!closed) {
            return std::nullopt;
        }
        path.Keys.emplace_back(std::move(key), std::move(value));
    } while (pos < text.size() && text[pos] == ',');
    if (pos != text.size()) {
        return std::nullopt;
    }
    return path;
}

} // namespace sentinax
