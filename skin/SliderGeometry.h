// The adjuster's track, apart from the widget: range 0 to 100, the control's
// own thumb rectangle at a position, the position under a dragged thumb, and
// where the thumb image is drawn. Pixels are in the control's client area.
#pragma once

namespace sentinax {

constexpr int kSliderMin = 0;
constexpr int kSliderMax = 100;
// A press on the track beside the thumb moves it this far toward the pointer.
constexpr int kSliderPage = 20;
// The thumb's length along the track when it has no image.
constexpr int kDefaultThumbLength = 11;

struct SliderRect {
    int Left = 0;
    int Top = 0;
    int Right = 0; // exclusive
    int Bottom = 0;
    bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool operator==(const SliderRect&) const = default;
};

class TrackGeometry {
public:
    // width, height: the control's size; thumbLength: the thumb's extent along
    // the track (the thumb image's width, or height when vertical). Position 0
    // is at the left, or at the top of a vertical track.
    TrackGeometry(int width, int height, int thumbLength, bool vertical);

    // The thumb spans the track's whole breadth.
    SliderRect ThumbRect(int position) const;
    // The position whose thumb starts nearest to thumbStart (pixels along the
    // track), within 0..100.
    int PositionAt(int thumbStart) const;
    // The position after a press at pointer (along the track) beside the thumb:
    // one page toward it.
    int PageToward(int position, int pointer) const;
    // Pixels along the track of a point.
    int Along(int x, int y) const { return vertical_ ? y : x; }
    bool Vertical() const { return vertical_; }

private:
    int ThumbStart(int position) const;
    int length_;  // along the track
    int breadth_; // across it
    int thumbLength_;
    int travel_; // pixels the thumb can move
    bool vertical_;
};

// Where a thumb image of imageWidth x imageHeight is drawn for the control's
// thumb rectangle: centred on it along the track (halves rounded toward zero),
// at the control's top or left edge across it. A vertical thumb is never
// placed above the top edge; a horizontal one may start left of the control.
SliderRect ThumbImageRect(const SliderRect& thumb, int imageWidth, int imageHeight, bool vertical);

// Positions shown by the control: stored positions outside 0..100 show the
// nearest end.
int ClampSliderPosition(int position);

} // namespace sentinax
