#include "GraphGeometry.h"

#include <cmath>
#include <gtest/gtest.h>

namespace sentinax {
namespace {

TEST(GraphGeometry, LeftMarginCountsLimitDigitsAndDecimals) {
    struct Case {
        double lower, upper;
        int decimals, margin;
        const char *upperLabel, *lowerLabel;
    } cases[] = {
        {0, 9900, 0, 42, "9900", "0"},       // fans
        {1.2, 2.5, 1, 30, "2.5", "1.2"},     // Vcore
        {10.0, 13.0, 1, 36, "13.0", "10.0"}, // +12 V: log10 13 = 1.1
        {0, 80, 0, 30, "80", "0"},           // log10 80 = 1.9 -> 1
        {32, 176, 0, 36, "176", "32"},       // log10 176 = 2.2 -> 2
        {-10, 10, 3, 48, "10.000", "-10.000"},
        {0.05, 0.5, 2, 42, "0.50", "0.05"}, // log10 0.05 = -1.3 -> 1
        {-1e300, INFINITY, 0, 6 * (300 + 4), "inf", nullptr},
    };
    for (const Case& c : cases) {
        GraphGeometry g;
        g.Resize(83, 66);
        g.SetRange(c.lower, c.upper, c.decimals);
        g.ApplyMargin();
        EXPECT_EQ(g.PlotLeft(), c.margin) << c.upper;
        EXPECT_EQ(g.PlotWidth(), 78 - c.margin) << c.upper;
        EXPECT_EQ(g.UpperLabel(), c.upperLabel);
        if (c.lowerLabel) {
            EXPECT_EQ(g.LowerLabel(), c.lowerLabel);
        }
    }
}

TEST(GraphGeometry, SizeSetsThePlotAndTheVerticalFactor) {
    GraphGeometry g;
    g.SetRange(1.2, 2.5, 1);
    g.Resize(83, 66);
    EXPECT_EQ(g.PlotLeft(), 20); // until the next grid rebuild
    EXPECT_EQ(g.PlotTop(), 10);
    EXPECT_EQ(g.PlotRight(), 78);
    EXPECT_EQ(g.PlotBottom(), 41);
    EXPECT_DOUBLE_EQ(g.VerticalFactor(), 31 / (2.5 - 1.2));
    int rows[3];
    g.DotRows(rows); // middle 25, quarter 7
    EXPECT_EQ(rows[0], 18);
    EXPECT_EQ(rows[1], 25);
    EXPECT_EQ(rows[2], 32);
}

TEST(GraphGeometry, SegmentsLeavingThePlotAreCutAtTheFrame) {
    GraphGeometry g;
    g.Resize(84, 69); // plot 10..44, right 79; 0..9900 gives factor 34 / 9900
    g.SetRange(0, 9900, 0);
    g.ApplyMargin();
    const PixelBox above{73, 0, 78, 11};
    const PixelBox below{73, 45, 78, 70};
    struct Case {
        double previous, current;
        int y0, y1;
        bool cutAbove, cutBelow;
    } cases[] = {
        {4950, 4950, 27, 27, false, false},
        {4950, 9900, 27, 10, true, false},   // the top edge itself is cut
        {4950, 20000, 27, -24, true, false}, // trunc(20000 * 34 / 9900) = 68
        {0, 4950, 44, 27, false, true},      // starting from the bottom edge
        {-500, 100, 45, 44, false, true},    // trunc(-1.7) = -1
        {20000, -500, -24, 45, true, true},
    };
    for (const Case& c : cases) {
        const SegmentStroke s = g.Stroke(c.previous, c.current);
        SCOPED_TRACE(testing::Message() << c.previous << " -> " << c.current);
        EXPECT_EQ(s.strip, (PixelBox{75, 10, 79, 44}));
        EXPECT_EQ(s.x0, 73);
        EXPECT_EQ(s.x1, 77);
        EXPECT_EQ(s.y0, c.y0);
        EXPECT_EQ(s.y1, c.y1);
        EXPECT_EQ(s.clearAbove, c.cutAbove ? above : PixelBox{});
        EXPECT_EQ(s.clearBelow, c.cutBelow ? below : PixelBox{});
    }
}

TEST(GraphGeometry, ValuesFarOutsideOrUndefinedStayOutsideThePlot) {
    GraphGeometry g;
    g.Resize(83, 66);
    g.SetRange(1.2, 2.5, 1);
    EXPECT_LT(g.ValueToY(1e300), -100000);
    EXPECT_GT(g.ValueToY(-1e300), 100000);
    EXPECT_GT(g.ValueToY(NAN), g.PlotBottom());
    g.SetRange(5, 5, 0); // no range: nothing defined to draw, but no overflow
    EXPECT_GT(g.ValueToY(5), g.PlotBottom());
    EXPECT_LT(g.ValueToY(6), g.PlotTop());
}

} // namespace
} // namespace sentinax
