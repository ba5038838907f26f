// The fixed-width text fields of the inventory: the 200-byte relative path
// field and the 100-byte property line field. A field is zero-filled and holds
// at most its width minus one bytes of text, so it always ends in a NUL; both
// are written to WMIinfo.txt at full width.
//
// Field text is single-byte. The inventory's UTF-8 text is converted by one
// rule (ToFieldText):
//   - U+0020..U+007E and U+00A0..U+00FF become the byte of the same value
//     (ISO 8859-1, which is also what the tree shows the field as);
//   - control characters (U+0000..U+001F, U+007F..U+009F) become a blank, so a
//     field never holds a line end or an early NUL and its record keeps its size;
//   - any other character becomes one '?', and so does each byte of a broken
//     UTF-8 sequence.
// Text longer than the field is cut after width - 1 bytes; since every field
// byte is one character, a cut never splits a character.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sentinax {

std::string ToFieldText(std::string_view utf8);

// One well-formed UTF-8 character at pos (no overlong forms, no surrogates,
// nothing past U+10FFFF); empty optional for anything else.
struct Utf8Char {
    uint32_t CodePoint;
    std::size_t Length;
};
std::optional<Utf8Char> DecodeUtf8(std::string_view text, std::size_t pos);

// The inverse for display and for tests: ISO 8859-1 bytes as UTF-8.
std::string FieldTextToUtf8(std::string_view singleByte);

template <std::size_t Width> class WmiField {
public:
    static constexpr std::size_t kWidth = Width;

    WmiField() { bytes_.fill('\0'); }
    // Zero-fills the field, then copies as much of the converted text as fits.
    void Assign(std::string_view utf8) {
        bytes_.fill('\0');
        const std::string text = ToFieldText(utf8);
        const std::size_t n = text.size() < Width - 1 ? text.size() : Width - 1;
        text.copy(bytes_.data(), n);
        length_ = n;
    }
    // The text up to the terminating NUL.
    std::string_view Text() const { return {bytes_.data(), length_}; }
    // All Width bytes, as stored in the file.
    std::string_view Bytes() const { return {bytes_.data(), Width}; }

private:
    std::array<char, Width> bytes_;
    std::size_t length_ = 0;
};

using RelativePathField = WmiField<200>;
using PropertyLineField = WmiField<100>;

} // namespace sentinax
