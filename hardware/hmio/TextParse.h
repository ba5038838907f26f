// Small helpers shared by the line-based parsers of the library's data files
// (scenario files and the hwmon channel map).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hmio {

// Problems found while parsing, each already formatted as "file:line: what is wrong".
using ParseErrors = std::vector<std::string>;

std::string_view Trim(std::string_view text);
// Splits at runs of blanks (space, tab, carriage return).
std::vector<std::string_view> SplitWords(std::string_view text);
// Splits at runs of blanks; a word in double quotes may hold blanks (the
// quotes are not part of it). False for an unclosed quote.
bool SplitQuotedWords(std::string_view text, std::vector<std::string>& words);
// A whole token as a signed integer: decimal, or hexadecimal with "0x". Anything
// else (trailing junk, empty, out of the 64-bit range) gives nothing.
std::optional<int64_t> ParseInteger(std::string_view token);
// Calls lineFn(lineNumber, line) for every line with its comment ('#' to the end)
// removed and blanks trimmed; blank lines are skipped.
template <typename Fn> void ForEachLine(std::string_view text, Fn lineFn) {
    int number = 0;
    while (!text.empty()) {
        ++number;
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        const size_t hash = line.find('#');
        if (hash != std::string_view::npos)
            line = line.substr(0, hash);
        line = Trim(line);
        if (!line.empty())
            lineFn(number, line);
    }
}
std::string LineError(const std::string& file, int line, const std::string& what);
// Whole file, at most maxBytes (the rest is cut off); nothing when it cannot be
// opened or is not a regular file (opened without blocking).
std::optional<std::string> ReadWholeFile(const std::string& path, size_t maxBytes = 1 << 20);
// Writes each message and a newline to stderr: the first few of one parse,
// then a line with the count of the rest (ProblemCap.h).
void ReportErrors(const ParseErrors& errors);

} // namespace hmio
