#include "DigitChar.h"

#include <gtest/gtest.h>
#include <string>

namespace sentinax {
namespace {

struct MaskCase {
    char c;
    DigitCharKind kind;    // in style 0
    uint16_t mask;         // in style 0
    uint16_t fourteenMask; // with bit value 2 (differs for digits, blank, minus)
};

const MaskCase kMasks[] = {
    {' ', DigitCharKind::SevenSegment, 0x00, 0x0000},
    {'0', DigitCharKind::SevenSegment, 0x77, 0x3F00},
    {'1', DigitCharKind::SevenSegment, 0x24, 0x1800},
    {'2', DigitCharKind::SevenSegment, 0x5D, 0x36C0},
    {'3', DigitCharKind::SevenSegment, 0x6D, 0x3CC0},
    {'4', DigitCharKind::SevenSegment, 0x2E, 0x19C0},
    {'5', DigitCharKind::SevenSegment, 0x6B, 0x2DC0},
    {'6', DigitCharKind::SevenSegment, 0x7B, 0x2FC0},
    {'7', DigitCharKind::SevenSegment, 0x25, 0x3800},
    {'8', DigitCharKind::SevenSegment, 0x7F, 0x3FC0},
    {'9', DigitCharKind::SevenSegment, 0x6F, 0x3DC0},
    {'-', DigitCharKind::SevenSegment, 0x08, 0x00C0},
    {'A', DigitCharKind::FourteenSegment, 0x3BC0, 0x3BC0},
    {'B', DigitCharKind::FourteenSegment, 0x3CA1, 0x3CA1},
    {'C', DigitCharKind::FourteenSegment, 0x2700, 0x2700},
    {'D', DigitCharKind::FourteenSegment, 0x3C21, 0x3C21},
    {'E', DigitCharKind::FourteenSegment, 0x27C0, 0x27C0},
    {'F', DigitCharKind::FourteenSegment, 0x23C0, 0x23C0},
    {'G', DigitCharKind::FourteenSegment, 0x2F80, 0x2F80},
    {'H', DigitCharKind::FourteenSegment, 0x1BC0, 0x1BC0},
    {'I', DigitCharKind::FourteenSegment, 0x2421, 0x2421},
    {'J', DigitCharKind::FourteenSegment, 0x1E00, 0x1E00},
    {'K', DigitCharKind::FourteenSegment, 0x0354, 0x0354},
    {'L', DigitCharKind::FourteenSegment, 0x0700, 0x0700},
    {'M', DigitCharKind::FourteenSegment, 0x1B06, 0x1B06},
    {'N', DigitCharKind::FourteenSegment, 0x1B12, 0x1B12},
    {'O', DigitCharKind::FourteenSegment, 0x3F00, 0x3F00},
    {'P', DigitCharKind::FourteenSegment, 0x33C0, 0x33C0},
    {'Q', DigitCharKind::FourteenSegment, 0x3F10, 0x3F10},
    {'R', DigitCharKind::FourteenSegment, 0x33D0, 0x33D0},
    {'S', DigitCharKind::FourteenSegment, 0x2DC0, 0x2DC0},
    {'T', DigitCharKind::FourteenSegment, 0x2021, 0x2021},
    {'U', DigitCharKind::FourteenSegment, 0x1F00, 0x1F00},
    {'V', DigitCharKind::FourteenSegment, 0x030C, 0x030C},
    {'W', DigitCharKind::FourteenSegment, 0x1B18, 0x1B18},
    {'X', DigitCharKind::FourteenSegment, 0x001E, 0x001E},
    {'Y', DigitCharKind::FourteenSegment, 0x11E0, 0x11E0},
    {'Z', DigitCharKind::FourteenSegment, 0x240C, 0x240C},
    {'*', DigitCharKind::FourteenSegment, 0x00FF, 0x00FF},
    {'+', DigitCharKind::FourteenSegment, 0x00E1, 0x00E1},
    {'.', DigitCharKind::Colon, 4, 4},
    {':', DigitCharKind::Colon, 3, 3},
};

TEST(DigitChar, EveryMappedCharacterHasItsKindAndMask) {
    for (const MaskCase& m : kMasks) {
        for (unsigned style : {0u, 1u, 2u, 3u, 4u}) {
            std::string text(1, m.c);
            const auto chars = BuildDigitChars(text, style);
            ASSERT_EQ(chars.size(), 1u) << m.c;
            const bool asFourteen =
                (style & kStyleFourteenDigits) && m.kind == DigitCharKind::SevenSegment;
            const DigitCharKind kind = asFourteen ? DigitCharKind::FourteenSegment : m.kind;
            EXPECT_EQ(chars[0].kind, kind) << m.c << " style " << style;
            EXPECT_EQ(chars[0].mask, (style & kStyleFourteenDigits) ? m.fourteenMask : m.mask)
                << m.c << " style " << style;
            const int width = kind == DigitCharKind::Colon ? 18 : 49;
            EXPECT_EQ(chars[0].width, width) << m.c;
            EXPECT_EQ(static_cast<size_t>(chars[0].segmentCount), chars[0].outlines->size());
            const bool smooth = (style & kStyleSmooth) && kind != DigitCharKind::Colon;
            EXPECT_EQ(chars[0].outlines, &SegmentOutlines(kind, smooth)) << m.c;
        }
    }
}

// Seven-segment masks read as pictures: which of top (a), upper left (b),
// upper right (c), middle (d), lower left (e), lower right (f), bottom (g) light.
TEST(DigitChar, SevenSegmentDigitsLookRight) {
    const char* lit[] = {"abcefg", "cf",     "acdeg", "acdfg",   "bcdf",
                         "abdfg",  "abdefg", "acf",   "abcdefg", "abcdfg"};
    for (int d = 0; d < 10; ++d) {
        uint16_t mask = 0;
        for (const char* p = lit[d]; *p; ++p)
            mask |= static_cast<uint16_t>(1u << (*p - 'a'));
        EXPECT_EQ(SevenSegmentMask(1 + d), mask) << d;
    }
}

TEST(DigitChar, RebuildUpperCasesInPlaceAndSkipsUnmappedBytes) {
    struct Case {
        std::string text;
        std::string stored;
        std::vector<DigitCharKind> kinds;
    } cases[] = {
        {"n a",
         "N A",
         {DigitCharKind::FourteenSegment, DigitCharKind::SevenSegment,
          DigitCharKind::FourteenSegment}},
        {"45 .C",
         "45 .C",
         {DigitCharKind::SevenSegment, DigitCharKind::SevenSegment, DigitCharKind::SevenSegment,
          DigitCharKind::Colon, DigitCharKind::FourteenSegment}},
        {"5%,\xB0"
         "c",
         "5%,\xB0"
         "C",
         {DigitCharKind::SevenSegment, DigitCharKind::FourteenSegment}},
        {"", "", {}},
        {"%/\t", "%/\t", {}},
    };
    for (Case& c : cases) {
        const auto chars = BuildDigitChars(c.text, kStyleKeepProportions);
        EXPECT_EQ(c.text, c.stored);
        ASSERT_EQ(chars.size(), c.kinds.size()) << c.stored;
        for (size_t i = 0; i < chars.size(); ++i)
            EXPECT_EQ(chars[i].kind, c.kinds[i]) << c.stored << " at " << i;
    }
}

} // namespace
} // namespace sentinax
