// The text of one private-profile (INI) file, held line by line so that an
// edit changes only the line it touches and every other byte stays as it was.
//
// Reading follows the platform's private-profile rules that our skin files
// rely on:
// - a section line is "[name]" (blanks before '[' allowed; the name runs to the
//   last ']' on the line and is compared without its surrounding blanks);
// - a key line is "name=value"; name and value lose their surrounding blanks;
// - lines starting with ';' are comments; lines without '=' and key lines
//   before the first section are ignored;
// - section and key names compare without regard to ASCII case; when a section
//   or a key appears twice, the first one wins, for reading and for writing.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace sentinax {

class IniDocument {
public:
    // The longest value GetString returns: the platform reads into a
    // 2,048-byte buffer, so a longer value comes back cut to 2,047 characters.
    static constexpr std::size_t kMaxValueLength = 2047;

    IniDocument() = default;
    // Any bytes are accepted; a UTF-8 byte order mark at the start is skipped
    // for reading and kept for writing.
    explicit IniDocument(std::string bytes);

    // The value of key in section, or def when the section or key is missing.
    // A value enclosed in a matching pair of double or single quotes loses
    // them. The result (value or default) is cut to kMaxValueLength; the
    // default also loses trailing blanks, as the platform does.
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view def) const;

    // Empties names and appends the key names of the section in file order
    // (duplicates included, as written). True when at least one name was found.
    bool GetKeyNames(std::string_view section, std::vector<std::string>& names) const;

    // Whether SetString can store this triple: names must be non-empty after
    // trimming, and no part may hold a line break or a NUL; a key may not hold
    // '=' nor start with ';' or '[' (it would read back as something else).
    static bool CanHold(std::string_view section, std::string_view key, std::string_view value);

    // Replaces the value of an existing key in place (the text up to the value
    // and the line end stay as written), or adds "key=value" after the last key
    // line of the section (before any blank or comment lines that close it), or
    // appends "[section]" and "key=value" at the end of the text. New lines get
    // the text's own line end (that of its first line; "\n" for an empty text).
    // False, with nothing changed, when !CanHold.
    bool SetString(std::string_view section, std::string_view key, std::string_view value);

    // The whole text as it would be written.
    std::string Bytes() const;

private:
    enum class Kind { Other, Section, Key };
    struct Line {
        std::string text; // without its line end
        std::string eol;  // "\r\n", "\n", or "" for a last line without one
        Kind kind = Kind::Other;
        std::string name;        // section or key name, trimmed
        std::size_t valueAt = 0; // key lines: where the value starts in text
        std::string value;       // key lines: the trimmed value
    };

    static Line Classify(std::string text, std::string eol);
    // Index of the first matching section line, or lines_.size().
    std::size_t FindSection(std::string_view name) const;
    // End (exclusive) of the section whose header is at index header.
    std::size_t SectionEnd(std::size_t header) const;
    std::string DefaultEol() const;

    std::string bom_;
    std::vector<Line> lines_;
};

} // namespace sentinax
