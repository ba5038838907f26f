// The text of one private-profile (INI) file, kept as its bytes so that an
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
//
// Size and speed: a section is read only up to its first kMaxRowsPerSection
// key lines (duplicates and rows of every kind count); further key lines stay
// in the text, untouched, but are neither read nor written, and the section
// is listed by OverfullSections(). Each section is scanned once, on its first
// use, so reading every row of a section costs time in proportion to its size.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace sentinax {

class IniDocument {
public:
    // The longest value GetString returns: the platform reads into a
    // 2,048-byte buffer, so a longer value comes back cut to 2,047 characters.
    static constexpr std::size_t kMaxValueLength = 2047;
    // Key lines read per section. A skin needs a few dozen rows per section;
    // the cap keeps a damaged or hostile file from creating controls without
    // end.
    static constexpr std::size_t kMaxRowsPerSection = 256;

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
    // (duplicates included, as written; at most kMaxRowsPerSection). True when
    // at least one name was found.
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
    // False, with nothing changed, when !CanHold or when a new key would go to
    // a section that already holds kMaxRowsPerSection key lines.
    bool SetString(std::string_view section, std::string_view key, std::string_view value);

    // The whole text as it would be written.
    std::string Bytes() const { return bom_ + text_; }

    // A section read so far that has more key lines than are read.
    struct Overfull {
        std::string Section;  // as written in its header
        std::size_t Rows = 0; // key lines it holds
    };
    // In the order the sections were first used; grows as sections are read.
    const std::vector<Overfull>& OverfullSections() const { return overfull_; }

private:
    // One key line of a section: offsets into text_.
    struct KeyLine {
        std::size_t Begin = 0;   // start of the line
        std::size_t TextEnd = 0; // end of the line's text, before its line end
        std::size_t LineEnd = 0; // after its line end
        std::size_t NameAt = 0;  // trimmed name
        std::size_t NameLength = 0;
        std::size_t ValueAt = 0;     // first character after the blanks following '='
        std::size_t ValueLength = 0; // trimmed value
    };
    struct Section {
        bool Found = false;
        std::size_t HeaderEnd = 0; // after the header line's line end
        bool HeaderHasEol = true;
        std::size_t End = 0;       // start of the next section line, or the text's end
        std::vector<KeyLine> Keys; // at most kMaxRowsPerSection
        std::size_t KeyLines = 0;  // all of them
    };

    void Index();
    // The first section of that name, scanned on first use; Found false when
    // there is none.
    const Section& FindSection(std::string_view name) const;
    const KeyLine* FindKey(const Section& section, std::string_view key) const;
    std::string_view Name(const KeyLine& line) const;
    std::string DefaultEol() const;

    std::string bom_;
    std::string text_;
    // Start of every section line, in file order.
    std::vector<std::size_t> headers_;
    // Sections used so far, by lower-case trimmed name.
    mutable std::unordered_map<std::string, Section> sections_;
    mutable std::vector<Overfull> overfull_;
};

} // namespace sentinax
