#include "IniDocument.h"

#include "FieldText.h"

#include <algorithm>

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

std::string_view Truncated(std::string_view text) {
    return text.substr(0, std::min(text.size(), IniDocument::kMaxValueLength));
}

} // namespace

IniDocument::IniDocument(std::string bytes) {
    std::string_view rest(bytes);
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (rest.substr(0, kBom.size()) == kBom) {
        bom_ = std::string(kBom);
        rest.remove_prefix(kBom.size());
    }
    while (!rest.empty()) {
        const std::size_t lf = rest.find('\n');
        if (lf == std::string_view::npos) {
            lines_.push_back(Classify(std::string(rest), ""));
            break;
        }
        std::string_view text = rest.substr(0, lf);
        std::string eol = "\n";
        if (!text.empty() && text.back() == '\r') {
            text.remove_suffix(1);
            eol = "\r\n";
        }
        lines_.push_back(Classify(std::string(text), std::move(eol)));
        rest.remove_prefix(lf + 1);
    }
}

IniDocument::Line IniDocument::Classify(std::string text, std::string eol) {
    Line line;
    line.text = std::move(text);
    line.eol = std::move(eol);
    std::string_view view(line.text);
    std::size_t start = 0;
    while (start < view.size() && IsBlank(view[start]))
        ++start;
    if (start == view.size() || view[start] == ';')
        return line;
    if (view[start] == '[') {
        const std::size_t close = view.rfind(']');
        if (close != std::string_view::npos && close > start) {
            line.kind = Kind::Section;
            line.name = std::string(TrimBlanks(view.substr(start + 1, close - start - 1)));
            return line;
        }
    }
    const std::size_t equals = view.find('=', start);
    if (equals == std::string_view::npos)
        return line;
    const std::string_view name = TrimBlanks(view.substr(start, equals - start));
    if (name.empty())
        return line;
    line.kind = Kind::Key;
    line.name = std::string(name);
    std::size_t valueAt = equals + 1;
    while (valueAt < view.size() && IsBlank(view[valueAt]))
        ++valueAt;
    line.valueAt = valueAt;
    line.value = std::string(TrimBlanks(view.substr(valueAt)));
    return line;
}

std::size_t IniDocument::FindSection(std::string_view name) const {
    name = TrimBlanks(name);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind == Kind::Section && SameName(lines_[i].name, name))
            return i;
    }
    return lines_.size();
}

std::size_t IniDocument::SectionEnd(std::size_t header) const {
    std::size_t i = header + 1;
    while (i < lines_.size() && lines_[i].kind != Kind::Section)
        ++i;
    return i;
}

std::string IniDocument::DefaultEol() const {
    if (!lines_.empty() && !lines_.front().eol.empty())
        return lines_.front().eol;
    return "\n";
}

std::string IniDocument::GetString(std::string_view section, std::string_view key,
                                   std::string_view def) const {
    const std::size_t header = FindSection(section);
    if (header < lines_.size()) {
        key = TrimBlanks(key);
        const std::size_t end = SectionEnd(header);
        for (std::size_t i = header + 1; i < end; ++i) {
            if (lines_[i].kind != Kind::Key || !SameName(lines_[i].name, key))
                continue;
            std::string_view value(lines_[i].value);
            if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                value.back() == value.front())
                value = value.substr(1, value.size() - 2);
            return std::string(Truncated(value));
        }
    }
    while (!def.empty() && IsBlank(def.back()))
        def.remove_suffix(1);
    return std::string(Truncated(def));
}

bool IniDocument::GetKeyNames(std::string_view section, std::vector<std::string>& names) const {
    names.clear();
    const std::size_t header = FindSection(section);
    if (header == lines_.size())
        return false;
    const std::size_t end = SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        if (lines_[i].kind == Kind::Key)
            names.push_back(lines_[i].name);
    }
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
    std::string newLine = std::string(key) + "=" + std::string(value);

    // A line added after the last one must not be glued onto it.
    const auto terminateLast = [&] {
        if (!lines_.empty() && lines_.back().eol.empty())
            lines_.back().eol = eol;
    };

    const std::size_t header = FindSection(section);
    if (header == lines_.size()) {
        terminateLast();
        lines_.push_back(Classify("[" + std::string(section) + "]", eol));
        lines_.push_back(Classify(std::move(newLine), eol));
        return true;
    }
    const std::size_t end = SectionEnd(header);
    std::size_t insertAfter = header;
    for (std::size_t i = header + 1; i < end; ++i) {
        if (lines_[i].kind != Kind::Key)
            continue;
        if (SameName(lines_[i].name, key)) {
            Line& line = lines_[i];
            std::string text = line.text.substr(0, line.valueAt) + std::string(value);
            line = Classify(std::move(text), std::move(line.eol));
            return true;
        }
        insertAfter = i;
    }
    if (insertAfter + 1 == lines_.size())
        terminateLast();
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAfter + 1),
                  Classify(std::move(newLine), eol));
    return true;
}

std::string IniDocument::Bytes() const {
    std::string out = bom_;
    for (const Line& line : lines_) {
        out += line.text;
        out += line.eol;
    }
    return out;
}

} // namespace sentinax
