#include "skin/Marquee.h"

#include <gtest/gtest.h>

#include <climits>

namespace sentinax {
namespace {

TEST(Marquee, CapacityIsTwiceTheWidthOverOneW) {
    EXPECT_EQ(MarqueeCapacity(520, 12), 86);
    EXPECT_EQ(MarqueeCapacity(400, 11), 72);
    EXPECT_EQ(MarqueeCapacity(0, 11), 0);
    EXPECT_EQ(MarqueeCapacity(100, 0), INT_MAX) << "no measurable W: nothing scrolls";
}

TEST(Marquee, ATextOfExactlyCapacityIsCentredAndStill) {
    const std::u32string text = U"abcdef";
    const MarqueeLine fits = ComposeMarquee(text, 0, 6);
    EXPECT_TRUE(fits.Centred);
    EXPECT_EQ(fits.Text, text);
    EXPECT_FALSE(MarqueeScrolls(6, text.size()));
    EXPECT_TRUE(MarqueeScrolls(5, text.size())) << "one character more scrolls";
}

TEST(Marquee, ScrollingLinesAreFilledWithSeparatorAndRepetition) {
    const std::u32string text = U"abcdef";
    struct Case {
        int offset;
        std::u32string line;
    } cases[] = {
        {0, U"abcdef"}, // already at least capacity 5 long
        {2, U"cdef ** abcdef"},
        {5, U"f ** abcdef"},
        {6, U" ** abcdef"}, // offset == length: begins with the separator
    };
    for (const Case& c : cases) {
        const MarqueeLine line = ComposeMarquee(text, c.offset, 5);
        EXPECT_FALSE(line.Centred);
        EXPECT_EQ(line.Text, c.line) << "offset " << c.offset;
    }
}

TEST(Marquee, OffsetRunsFromZeroToTheLengthInclusive) {
    std::vector<int> seen;
    int offset = 0;
    for (int i = 0; i < 9; ++i) {
        seen.push_back(offset);
        offset = NextMarqueeOffset(offset, 3);
    }
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 0, 1, 2, 3, 0}));
    EXPECT_EQ(NextMarqueeOffset(INT_MAX, 3), 0);
}

TEST(Marquee, CharactersAreCodePoints) {
    const std::u32string text = U"\u00B0C\u00B0F"; // "°C°F": four characters
    EXPECT_EQ(ComposeMarquee(text, 2, 3).Text, U"\u00B0F ** \u00B0C\u00B0F");
}

} // namespace
} // namespace sentinax
