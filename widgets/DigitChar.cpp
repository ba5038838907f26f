#include "DigitChar.h"

#include <array>

namespace sentinax {

namespace {

constexpr std::array<uint16_t, kDigitMaskCount> kSevenSegmentMasks = {
    0x00, 0x77, 0x24, 0x5D, 0x6D, 0x2E, 0x6B, 0x7B, 0x25, 0x7F, 0x6F, 0x08};

constexpr std::array<uint16_t, kDigitMaskCount> kFourteenSegmentDigitMasks = {
    0x0000, 0x3F00, 0x1800, 0x36C0, 0x3CC0, 0x19C0, 0x2DC0, 0x2FC0, 0x3800, 0x3FC0, 0x3DC0, 0x00C0};

constexpr std::array<uint16_t, 26> kLetterMasks = {
    0x3BC0, 0x3CA1, 0x2700, 0x3C21, 0x27C0, 0x23C0, 0x2F80, 0x1BC0, 0x2421,
    0x1E00, 0x0354, 0x0700, 0x1B06, 0x1B12, 0x3F00, 0x33C0, 0x3F10, 0x33D0,
    0x2DC0, 0x2021, 0x1F00, 0x030C, 0x1B18, 0x001E, 0x11E0, 0x240C};

constexpr uint16_t kStarMask = 0x00FF;
constexpr uint16_t kPlusMask = 0x00E1;
constexpr uint16_t kDecimalPointMask = 4; // the lowest dot
constexpr uint16_t kColonMask = 3;        // the two upper dots

} // namespace

uint16_t SevenSegmentMask(int index) {
    return index >= 0 && index < kDigitMaskCount ? kSevenSegmentMasks[index] : 0;
}

uint16_t FourteenSegmentDigitMask(int index) {
    return index >= 0 && index < kDigitMaskCount ? kFourteenSegmentDigitMasks[index] : 0;
}

int DigitMaskIndex(char c) {
    if (c == ' ')
        return 0;
    if (c >= '0' && c <= '9')
        return 1 + (c - '0');
    if (c == '-')
        return 11;
    return -1;
}

int FourteenSegmentLetterMask(char c) {
    if (c >= 'A' && c <= 'Z')
        return kLetterMasks[c - 'A'];
    if (c == '*')
        return kStarMask;
    if (c == '+')
        return kPlusMask;
    return -1;
}

DigitChar SevenSegmentChar(uint16_t mask, bool smooth) {
    return {DigitCharKind::SevenSegment, kSegmentCellWidth, mask, 7,
            &SegmentOutlines(DigitCharKind::SevenSegment, smooth)};
}

DigitChar FourteenSegmentChar(uint16_t mask, bool smooth) {
    return {DigitCharKind::FourteenSegment, kSegmentCellWidth, mask, 14,
            &SegmentOutlines(DigitCharKind::FourteenSegment, smooth)};
}

DigitChar ColonChar(uint16_t mask) {
    return {DigitCharKind::Colon, kColonCellWidth, mask, 3,
            &SegmentOutlines(DigitCharKind::Colon, false)};
}

std::vector<DigitChar> BuildDigitChars(std::string& text, unsigned style) {
    const bool smooth = (style & kStyleSmooth) != 0;
    const bool fourteenDigits = (style & kStyleFourteenDigits) != 0;
    std::vector<DigitChar> chars;
    chars.reserve(text.size());
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    for (char c : text) {
        if (const int index = DigitMaskIndex(c); index >= 0) {
            chars.push_back(fourteenDigits
                                ? FourteenSegmentChar(FourteenSegmentDigitMask(index), smooth)
                                : SevenSegmentChar(SevenSegmentMask(index), smooth));
        } else if (const int mask = FourteenSegmentLetterMask(c); mask >= 0) {
            chars.push_back(FourteenSegmentChar(static_cast<uint16_t>(mask), smooth));
        } else if (c == '.') {
            chars.push_back(ColonChar(kDecimalPointMask));
        } else if (c == ':') {
            chars.push_back(ColonChar(kColonMask));
        }
    }
    return chars;
}

} // namespace sentinax
