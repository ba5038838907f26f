#include "IniDocument.h"

#include "FieldText.h"

#include <algorithm>
#include <cstring>

namespace sentinax {

namespace {

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return LowerAscii(x) == LowerAscii(y);
           });
}

std::string Lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), LowerAscii);
    return out;
}

std::string_view Truncated(std::string_view text) {
    return text.substr(0, std::min(text.size(), IniDocument::kMaxValueLength));
}

// One line of the text: [Begin, TextEnd) without its line end, which runs to
// LineEnd ("\n", "\r\n" or nothing on a last line).
struct LineSpan {
    std::size_t Begin = 0, TextEnd = 0, LineEnd = 0;
};

LineSpan LineAt(std::string_view text, std::size_t begin) {
    LineSpan line{begin, text.size(), text.size()};
    const void* lf = std::memchr(text.data() + begin, '\n', text.size() - begin);
    if (lf != nullptr) {
        line.TextEnd = static_cast<std::size_t>(static_cast<const char*>(lf) - text.data());
        line.LineEnd = line.TextEnd + 1;
        if (line.TextEnd > begin && text[line.TextEnd - 1] == '\r')
            --line.TextEnd;
    }
    return line;
}

std::size_t FirstNonBlank(std::string_view line) {
    std::size_t start = 0;
    while (start < line.size() && IsBlank(line[start]))
        ++start;
    return start;
}

// The trimmed name of a section line, or false when the line is not one.
bool SectionName(std::string_view line, std::string_view& name) {
    const std::size_t start = FirstNonBlank(line);
    if (start == line.size() || line[start] != '[')
        return false;
    const std::size_t close = line.rfind(']');
    if (close == std::string_view::npos || close <= start)
        return false;
    name = TrimBlanks(line.substr(start + 1, close - start - 1));
    return true;
}

} // namespace

IniDocument::IniDocument(std::string bytes) {
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (std::string_view(bytes).substr(0, kBom.size()) == kBom) {
        bom_ = std::string(kBom);
        bytes.erase(0, kBom.size());
    }
    text_ = std::move(bytes);
    Index();
}

// Finds the section lines: the only pass over the whole text. Key lines are
// looked at later, one section at a time, when that section is first used.
void IniDocument::Index() {
    headers_.clear();
    sections_.clear();
    const std::string_view text(text_);
    for (std::size_t at = 0; at < text.size();) {
        const LineSpan line = LineAt(text, at);
        std::string_view name;
        if (SectionName(text.substr(line.Begin, line.TextEnd - line.Begin), name))
            headers_.push_back(line.Begin);
        at = line.LineEnd;
    }
}

const IniDocument::Section& IniDocument::FindSection(std::string_view wanted) const {
    wanted = TrimBlanks(wanted);
    std::string lowered = Lowered(wanted);
    if (auto it = sections_.find(lowered); it != sections_.end())
        return it->second;

    Section& section = sections_[lowered];
    const std::string_view text(text_);
    std::size_t header = 0;
    std::string_view written;
    for (; header < headers_.size(); ++header) {
        const LineSpan line = LineAt(text, headers_[header]);
        std::string_view name;
        if (SectionName(text.substr(line.Begin, line.TextEnd - line.Begin), name) &&
            SameName(name, wanted)) {
            section.Found = true;
            section.HeaderEnd = line.LineEnd;
            section.HeaderHasEol = line.LineEnd > line.TextEnd;
            written = name;
            break;
        }
    }
    if (!section.Found)
        return section;
    section.End = header + 1 < headers_.size() ? headers_[header + 1] : text.size();

    for (std::size_t at = section.HeaderEnd; at < section.End;) {
        const LineSpan span = LineAt(text, at);
        at = span.LineEnd;
        const std::string_view line = text.substr(span.Begin, span.TextEnd - span.Begin);
        const std::size_t start = FirstNonBlank(line);
        if (start == line.size() || line[start] == ';')
            continue;
        const std::size_t equals = line.find('=', start);
        if (equals == std::string_view::npos)
            continue;
        const std::string_view name = TrimBlanks(line.substr(start, equals - start));
        if (name.empty())
            continue;
        if (++section.KeyLines > kMaxRowsPerSection)
            continue;
        KeyLine key;
        key.Begin = span.Begin;
        key.TextEnd = span.TextEnd;
        key.LineEnd = span.LineEnd;
        key.NameAt = static_cast<std::size_t>(name.data() - text.data());
        key.NameLength = name.size();
        std::size_t valueAt = equals + 1;
        while (valueAt < line.size() && IsBlank(line[valueAt]))
            ++valueAt;
        const std::string_view value = TrimBlanks(line.substr(valueAt));
        key.ValueAt = span.Begin + valueAt;
        key.ValueLength = value.size();
        section.Keys.push_back(key);
    }
    if (section.KeyLines > kMaxRowsPerSection) {
        const bool listed = std::any_of(overfull_.begin(), overfull_.end(), [&](const Overfull& o) {
            return SameName(o.Section, written);
        });
        if (!listed)
            overfull_.push_back({std::string(written), section.KeyLines});
    }
    return section;
}

std::string_view IniDocument::Name(const KeyLine& line) const {
    return std::string_view(text_).substr(line.NameAt, line.NameLength);
}

const IniDocument::KeyLine* IniDocument::FindKey(const Section& section,
                                                 std::string_view key) const {
    key = TrimBlanks(key);
    for (const KeyLine& line : section.Keys) {
        if (SameName(Name(line), key))
            return &line;
    }
    return nullptr;
}

std::string IniDocument::DefaultEol() const {
    const LineSpan first = LineAt(text_, 0);
    if (first.LineEnd > first.TextEnd)
        return std::string(text_, first.TextEnd, first.LineEnd - first.TextEnd);
    return "\n";
}

std::string IniDocument::GetString(std::string_view section, std::string_view key,
                                   std::string_view def) const {
    if (const KeyLine* line = FindKey(FindSection(section), key)) {
        std::string_view value = std::string_view(text_).substr(line->ValueAt, line->ValueLength);
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return std::string(Truncated(value));
    }
    while (!def.empty() && IsBlank(def.back()))
        def.remove_suffix(1);
    return std::string(Truncated(def));
}

bool IniDocument::GetKeyNames(std::string_view section, std::vector<std::string>& names) const {
    names.clear();
    const Section& found = FindSection(section);
    names.reserve(found.Keys.size());
    for (const KeyLine& line : found.Keys)
        names.emplace_back(Name(line));
    return !names.empty();
}

bool IniDocument::CanHold(std::string_view section, std::string_view key, std::string_view value) {
    const auto hasBreak = [](std::string_view s) {
        return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
    };
    section = TrimBlanks(section);
    key = TrimBlanks(key);
    if (section.empty() || key.empty() || hasBreak(section) || hasBreak(key) || hasBreak(value))
        return false;
    return key.find('=') == std::string_view::npos && key.front() != ';' && key.front() != '[';
}

bool IniDocument::SetString(std::string_view section, std::string_view key,
                            std::string_view value) {
    if (!CanHold(section, key, value))
        return false;
    section = TrimBlanks(section);
    key = TrimBlanks(key);
    const std::string eol = DefaultEol();
    const std::string newLine = std::string(key) + "=" + std::string(value);

    const Section& found = FindSection(section);
    if (!found.Found) {
        // A line added after the last one must not be glued onto it.
        if (!text_.empty() && text_.back() != '\n')
            text_ += eol;
        text_ += "[" + std::string(section) + "]" + eol + newLine + eol;
    } else if (const KeyLine* line = FindKey(found, key)) {
        text_.replace(line->ValueAt, line->TextEnd - line->ValueAt, value);
    } else if (found.KeyLines >= kMaxRowsPerSection) {
        return false;
    } else {
        std::size_t insertAt = found.HeaderEnd;
        bool needsEol = !found.HeaderHasEol;
        if (!found.Keys.empty()) {
            const KeyLine& last = found.Keys.back();
            insertAt = last.LineEnd;
            needsEol = last.LineEnd == last.TextEnd;
        }
        text_.insert(insertAt, (needsEol ? eol : std::string()) + newLine + eol);
    }
    // Offsets after the edit have moved.
    Index();
    return true;
}

} // namespace sentinax
