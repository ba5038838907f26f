// Relative object paths: Class.Key="value" (several keys joined by commas, in
// the order given). Inside the quotes a backslash and a double quote are
// escaped with a backslash. The parser accepts exactly what the builder writes.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace sentinax {

struct RelativePath {
    std::string ClassName;
    std::vector<std::pair<std::string, std::string>> Keys;

    // The value of a key, empty optional when the path has no such key.
    std::optional<std::string> Key(const std::string& name) const;
};

std::string BuildRelativePath(const RelativePath& path);
// Empty optional for text that is not a path of that shape (no class, no key,
// an unterminated quote, junk after a value).
std::optional<RelativePath> ParseRelativePath(const std::string& text);

} // namespace sentinax
