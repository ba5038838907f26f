#include "SegmentTables.h"
#include "DigitChar.h"

#include <gtest/gtest.h>

namespace sentinax {
namespace {

TEST(SegmentTables, TransformsMirrorAboutTheCellCentre) {
    const CellOutline base{{5, 4, PointKind::Move}, {24, 41, PointKind::Sample}};
    struct Case {
        CellTransform transform;
        CellPoint first;
    } cases[] = {
        {CellTransform::AsIs, {5, 4, PointKind::Move}},
        {CellTransform::MirrorX, {43, 4, PointKind::Move}},
        {CellTransform::MirrorY, {5, 78, PointKind::Move}},
        {CellTransform::PointReflect, {43, 78, PointKind::Move}},
    };
    for (const Case& c : cases) {
        const CellOutline out = TransformOutline(base, c.transform);
        EXPECT_EQ(out[0], c.first) << static_cast<int>(c.transform);
        // The centre stays put and kinds are kept.
        EXPECT_EQ(out[1], (CellPoint{24, 41, PointKind::Sample}));
    }
}

// Every outline starts with a move, stays inside its cell, and every run of
// samples sits between two corner points: the drawing relies on all three.
TEST(SegmentTables, OutlinesAreWellFormed) {
    struct Case {
        DigitCharKind kind;
        bool smooth;
        size_t segments;
        int width;
    } cases[] = {
        {DigitCharKind::SevenSegment, false, 7, 49},
        {DigitCharKind::SevenSegment, true, 7, 49},
        {DigitCharKind::FourteenSegment, false, 14, 49},
        {DigitCharKind::FourteenSegment, true, 14, 49},
        {DigitCharKind::Colon, false, 3, 18},
    };
    for (const Case& c : cases) {
        const auto& outlines = SegmentOutlines(c.kind, c.smooth);
        ASSERT_EQ(outlines.size(), c.segments);
        int samples = 0;
        for (size_t s = 0; s < outlines.size(); ++s) {
            const CellOutline& o = outlines[s];
            SCOPED_TRACE(testing::Message()
                         << static_cast<int>(c.kind) << " smooth " << c.smooth << " segment " << s);
            ASSERT_GE(o.size(), 4u);
            EXPECT_EQ(o.front().kind, PointKind::Move);
            EXPECT_NE(o.back().kind, PointKind::Sample);
            for (const CellPoint& p : o) {
                EXPECT_GE(p.x, 0);
                EXPECT_LT(p.x, c.width);
                EXPECT_GE(p.y, 0);
                EXPECT_LT(p.y, kCellHeight);
                samples += p.kind == PointKind::Sample;
            }
        }
        EXPECT_EQ(samples > 0, c.smooth);
    }
}

// The first point of each segment tells which base shape and transform built
// it; the expectations come from the shapes' first points mirrored by hand.
TEST(SegmentTables, SegmentsUseTheirBaseShapeAndTransform) {
    struct Case {
        DigitCharKind kind;
        bool smooth;
        std::vector<std::pair<int, int>> firstPoints;
    } cases[] = {
        {DigitCharKind::SevenSegment,
         false,
         {{5, 4}, {4, 6}, {44, 6}, {6, 41}, {4, 76}, {44, 76}, {5, 78}}},
        {DigitCharKind::SevenSegment,
         true,
         {{6, 4}, {4, 9}, {37, 36}, {8, 41}, {4, 73}, {37, 46}, {6, 78}}},
        {DigitCharKind::FourteenSegment,
         false,
         {{20, 13},
          {5, 5},
          {43, 5},
          {5, 77},
          {43, 77},
          {20, 69},
          {6, 41},
          {42, 41},
          {4, 7},
          {4, 75},
          {6, 78},
          {44, 75},
          {44, 7},
          {6, 4}}},
        {DigitCharKind::FourteenSegment,
         true,
         {{20, 12},
          {10, 10},
          {38, 10},
          {10, 72},
          {38, 72},
          {20, 70},
          {8, 41},
          {40, 41},
          {4, 7},
          {4, 75},
          {8, 78},
          {44, 75},
          {44, 7},
          {8, 4}}},
        {DigitCharKind::Colon, false, {{4, 23}, {4, 50}, {4, 68}}},
    };
    for (const Case& c : cases) {
        const auto& outlines = SegmentOutlines(c.kind, c.smooth);
        ASSERT_EQ(outlines.size(), c.firstPoints.size());
        for (size_t s = 0; s < outlines.size(); ++s) {
            EXPECT_EQ(outlines[s][0].x, c.firstPoints[s].first)
                << static_cast<int>(c.kind) << " smooth " << c.smooth << " segment " << s;
            EXPECT_EQ(outlines[s][0].y, c.firstPoints[s].second)
                << static_cast<int>(c.kind) << " smooth " << c.smooth << " segment " << s;
        }
    }
}

TEST(SegmentTables, SmoothSevenSegmentRightVerticalIsItsOwnShape) {
    const auto& seven = SegmentOutlines(DigitCharKind::SevenSegment, true);
    const CellOutline expected{{37, 36, PointKind::Move},   {39, 38, PointKind::Sample},
                               {41, 40, PointKind::Sample}, {42, 40, PointKind::Line},
                               {44, 39, PointKind::Line},   {44, 6, PointKind::Line},
                               {42, 4, PointKind::Sample},  {41, 4, PointKind::Sample},
                               {39, 8, PointKind::Sample},  {37, 12, PointKind::Line}};
    EXPECT_EQ(seven[2], expected);
    EXPECT_EQ(seven[5], TransformOutline(expected, CellTransform::MirrorY));
}

} // namespace
} // namespace sentinax
