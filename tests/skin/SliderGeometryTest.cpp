#include "skin/SliderGeometry.h"

#include <gtest/gtest.h>

namespace sentinax {
namespace {

TEST(SliderGeometry, ThumbTravelsTheTrackBetweenItsInsets) {
    const TrackGeometry track(55, 18, 11, false);
    EXPECT_EQ(track.ThumbRect(0), (SliderRect{2, 0, 13, 18}));
    EXPECT_EQ(track.ThumbRect(100), (SliderRect{42, 0, 53, 18}));
    EXPECT_EQ(track.ThumbRect(150), track.ThumbRect(100)) << "stored positions show clamped";
    EXPECT_EQ(track.ThumbRect(-3), track.ThumbRect(0));
    const TrackGeometry vertical(18, 55, 11, true);
    EXPECT_EQ(vertical.ThumbRect(0), (SliderRect{0, 2, 18, 13})) << "0 at the top";
}

TEST(SliderGeometry, EveryPositionIsFoundAgainUnderItsThumb) {
    const TrackGeometry track(55, 18, 11, false);
    for (int p = 0; p <= 100; ++p) {
        const int start = track.ThumbRect(p).Left;
        const int back = track.PositionAt(start);
        EXPECT_EQ(track.ThumbRect(back).Left, start) << p;
    }
    EXPECT_EQ(track.PositionAt(-50), 0);
    EXPECT_EQ(track.PositionAt(500), 100);
    EXPECT_EQ(TrackGeometry(10, 18, 11, false).PositionAt(3), 0) << "no room to travel";
}

TEST(SliderGeometry, PressBesideTheThumbPagesTowardThePointer) {
    const TrackGeometry track(55, 18, 11, false);
    const SliderRect thumb = track.ThumbRect(50); // 22..33
    EXPECT_EQ(track.PageToward(50, thumb.Left - 1), 30);
    EXPECT_EQ(track.PageToward(50, thumb.Right), 70);
    EXPECT_EQ(track.PageToward(50, thumb.Left + 3), 50) << "on the thumb";
    EXPECT_EQ(track.PageToward(10, 0), 0);
    EXPECT_EQ(track.PageToward(95, 54), 100);
}

TEST(SliderGeometry, ThumbImageCentredAlongTheTrack) {
    // Horizontal: top 0, centred on the thumb, never clamped.
    EXPECT_EQ(ThumbImageRect({2, 0, 13, 18}, 11, 14, false), (SliderRect{2, 0, 13, 14}));
    EXPECT_EQ(ThumbImageRect({0, 0, 4, 18}, 11, 14, false), (SliderRect{-3, 0, 8, 14}));
    // Vertical: left 0, centred (halves rounded toward zero), not above 0.
    EXPECT_EQ(ThumbImageRect({0, 20, 18, 31}, 14, 7, true), (SliderRect{0, 22, 14, 29}));
    EXPECT_EQ(ThumbImageRect({0, 0, 18, 4}, 14, 11, true), (SliderRect{0, 0, 14, 11}));
}

} // namespace
} // namespace sentinax
