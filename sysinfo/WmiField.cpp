#include "WmiField.h"

#include <cstdint>

namespace sentinax {

namespace {

// Length of the UTF-8 sequence a lead byte starts, 0 for a byte that cannot lead.
int SequenceLength(uint8_t lead) {
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

char SingleByte(uint32_t codePoint) {
    if (codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F))
        return ' ';
    if (codePoint <= 0xFF)
        return static_cast<char>(codePoint);
    return '?';
}

} // namespace

std::optional<Utf8Char> DecodeUtf8(std::string_view text, std::size_t pos) {
    if (pos >= text.size()) {
        return std::nullopt;
    }
    const auto lead = static_cast<uint8_t>(text[pos]);
    const int length = SequenceLength(lead);
    if (length == 0 || pos + length > text.size()) {
        return std::nullopt;
    }
    uint32_t codePoint = length == 1 ? lead : (lead & (0x7F >> length));
    for (int k = 1; k < length; ++k) {
        const auto next = static_cast<uint8_t>(text[pos + k]);
        if ((next & 0xC0) != 0x80) {
            return std::nullopt;
        }
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    // Overlong three- and four-byte forms, surrogates and code points past U+10FFFF.
    if ((length == 3 && (codePoint < 0x800 || (codePoint >= 0xD800 && codePoint <= 0xDFFF))) ||
        (length == 4 && (codePoint < 0x10000 || codePoint > 0x10FFFF))) {
        return std::nullopt;
    }
    return Utf8Char{codePoint, static_cast<std::size_t>(length)};
}

std::string ToFieldText(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto c = DecodeUtf8(utf8, i);
        if (!c) {
            out += '?'; // one per byte of a broken sequence
            ++i;
            continue;
        }
        out += SingleByte(c->CodePoint);
        i += c->Length;
    }
    return out;
}

std::string FieldTextToUtf8(std::string_view singleByte) {
    std::string out;
    out.reserve(singleByte.size());
    for (const char c : singleByte) {
        const auto byte = static_cast<uint8_t>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

} // namespace sentinax
