#include "DigitLayout.h"

#include <gtest/gtest.h>

namespace sentinax {
namespace {

TEST(DigitLayout, PenColourMixesAQuarterOfTheBackground) {
    struct Case {
        uint32_t background, fill, pen;
    } cases[] = {
        {0x000000, 0xFFFF96, 0xBFBF70}, // (150,255,255) -> (112,191,191)
        {0x000000, 0x0000FF, 0x0000BF}, // red 255 -> 191
        {0xFFFFFF, 0x000000, 0x3F3F3F}, // 63.75 -> 63
        {0x102030, 0x000000, 0x04080C}, // red 0x30 / 4, green 0x20 / 4, blue 0x10 / 4
    };
    for (const Case& c : cases)
        EXPECT_EQ(DigitLayout::PenColour(c.background, c.fill), c.pen) << std::hex << c.fill;
}

TEST(DigitLayout, RoundingAddsAHalfAndTruncatesTowardsZero) {
    struct Case {
        double v;
        int expected;
    } cases[] = {{2.49, 2}, {2.5, 3}, {0.0, 0}, {-0.4, 0}, {-0.7, 0}, {-1.6, -1}, {1e300, 1 << 30}};
    for (const Case& c : cases)
        EXPECT_EQ(DigitLayout::Round({c.v, 0}).x, c.expected) << c.v;
}

// "45 .C": cells 49, 49, 49, 18, 49 = 214 units. In 600 x 166 the height
// limits the scale to 2, so the text is 428 wide and centred at x = 86.
TEST(DigitLayout, KeepProportionsScalesUniformlyAndCentres) {
    std::string text = "45 .C";
    DigitLayout layout;
    layout.Build(text, kStyleKeepProportions, 600, 166);
    const double lefts[] = {86, 184, 282, 380, 416};
    const double widths[] = {98, 98, 98, 36, 98};
    ASSERT_EQ(layout.Boxes().size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_DOUBLE_EQ(layout.Boxes()[i].left, lefts[i]) << i;
        EXPECT_DOUBLE_EQ(layout.Boxes()[i].right - layout.Boxes()[i].left, widths[i]) << i;
        EXPECT_DOUBLE_EQ(layout.Boxes()[i].top, 0);
        EXPECT_DOUBLE_EQ(layout.Boxes()[i].bottom, 166);
    }
    EXPECT_EQ(layout.Segments().size(), 7u * 3 + 3 + 14);
    // Width-limited: 100 x 166 gives scale 100 / 214 and a vertical offset.
    layout.Build(text, kStyleKeepProportions, 100, 166);
    const double scale = 100.0 / 214;
    EXPECT_DOUBLE_EQ(layout.Boxes()[0].left, 0);
    EXPECT_DOUBLE_EQ(layout.Boxes()[0].top, (166 - 83 * scale) / 2);
    EXPECT_NEAR(layout.Boxes()[4].right, 100, 1e-9);
}

TEST(DigitLayout, WithoutKeepProportionsTheTextFillsTheControl) {
    std::string text = "N A";
    DigitLayout layout;
    layout.Build(text, 0, 147, 40);
    ASSERT_EQ(layout.Boxes().size(), 3u);
    EXPECT_DOUBLE_EQ(layout.Boxes()[0].left, 0);
    EXPECT_DOUBLE_EQ(layout.Boxes()[1].left, 49);
    EXPECT_NEAR(layout.Boxes()[2].right, 147, 1e-9);
    EXPECT_DOUBLE_EQ(layout.Boxes()[2].bottom, 40);
}

TEST(DigitLayout, OutlinesMapToPixelsAndSampleRunsBecomeOneCurve) {
    const CharBox box{10.3, 2.2, 10.3 + 49 * 1.5, 2.2 + 83 * 0.5};
    // Plain top bar M(5,4) L(12,11) L(36,11) L(43,4): x = 10.3 + 1.5 x, y = 2.2 + 0.5 y.
    const auto plain =
        DigitLayout::OutlinePath(SegmentOutlines(DigitCharKind::SevenSegment, false)[0], box, 49);
    const DevicePoint expected[] = {{18, 4}, {28, 8}, {64, 8}, {75, 4}};
    ASSERT_EQ(plain.size(), 4u);
    EXPECT_EQ(plain[0].op, PathElement::Op::MoveTo);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(plain[i].to, expected[i]) << i;
        EXPECT_EQ(plain[i].op, i ? PathElement::Op::LineTo : PathElement::Op::MoveTo);
    }
    // Smooth top bar M(6,4) S S S L(12,11) L(36,11) L(39,4): move, one curve
    // ending at (12,11), then the two lines.
    const auto smooth =
        DigitLayout::OutlinePath(SegmentOutlines(DigitCharKind::SevenSegment, true)[0], box, 49);
    ASSERT_EQ(smooth.size(), 4u);
    EXPECT_EQ(smooth[1].op, PathElement::Op::CubicTo);
    EXPECT_EQ(smooth[1].to, (DevicePoint{28, 8}));
    EXPECT_EQ(smooth[2].to, (DevicePoint{64, 8}));
    EXPECT_EQ(smooth[3].to, (DevicePoint{69, 4})); // 10.3 + 58.5 + 0.5 = 69.3
}

TEST(DigitLayout, UnmappedBytesTakeNoRoomAndEmptyTextHasNoSegments) {
    DigitLayout a, b;
    std::string with = "4%5", without = "45";
    a.Build(with, kStyleKeepProportions, 50, 20);
    b.Build(without, kStyleKeepProportions, 50, 20);
    ASSERT_EQ(a.Boxes().size(), 2u);
    EXPECT_DOUBLE_EQ(a.Boxes()[1].left, b.Boxes()[1].left);
    std::string empty;
    a.Build(empty, kStyleKeepProportions, 50, 20);
    EXPECT_TRUE(a.Segments().empty());
}

TEST(DigitLayout, LitFlagsFollowTheMasks) {
    std::string text = "1";
    DigitLayout layout;
    layout.Build(text, 0, 49, 83);
    std::vector<bool> lit;
    for (const SegmentPath& s : layout.Segments())
        lit.push_back(s.lit);
    EXPECT_EQ(lit, (std::vector<bool>{false, false, true, false, false, true, false}));
}

} // namespace
} // namespace sentinax
