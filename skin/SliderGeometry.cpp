#include "SliderGeometry.h"

#include <algorithm>

namespace sentinax {

namespace {
// Pixels kept free at each end of the track, so that neighbouring adjusters'
// thumbs never touch.
constexpr int kTrackInset = 2;
} // namespace

TrackGeometry::TrackGeometry(int width, int height, int thumbLength, bool vertical)
    : length_(std::max(vertical ? height : width, 0)),
      breadth_(std::max(vertical ? width : height, 0)),
      thumbLength_(std::max(thumbLength > 0 ? thumbLength : kDefaultThumbLength, 1)),
      travel_(std::max(length_ - 2 * kTrackInset - thumbLength_, 0)), vertical_(vertical) {}

int TrackGeometry::ThumbStart(int position) const {
    const int p = ClampSliderPosition(position) - kSliderMin;
    const int range = kSliderMax - kSliderMin;
    return kTrackInset + (p * travel_ + range / 2) / range;
}

SliderRect TrackGeometry::ThumbRect(int position) const {
    const int start = ThumbStart(position);
    if (vertical_)
        return {0, start, breadth_, start + thumbLength_};
    return {start, 0, start + thumbLength_, breadth_};
}

int TrackGeometry::PositionAt(int thumbStart) const {
    if (travel_ == 0)
        return kSliderMin;
    const int range = kSliderMax - kSliderMin;
    const int offset = std::clamp(thumbStart - kTrackInset, 0, travel_);
    return kSliderMin + (offset * range + travel_ / 2) / travel_;
}

int TrackGeometry::PageToward(int position, int pointer) const {
    const int p = ClampSliderPosition(position);
    const int start = ThumbStart(p);
    if (pointer < start)
        return std::max(p - kSliderPage, kSliderMin);
    if (pointer >= start + thumbLength_)
        return std::min(p + kSliderPage, kSliderMax);
    return p;
}

SliderRect ThumbImageRect(const SliderRect& thumb, int imageWidth, int imageHeight, bool vertical) {
    if (vertical) {
        const int top = std::max(thumb.Top + thumb.Height() / 2 - imageHeight / 2, 0);
        return {0, top, imageWidth, top + imageHeight};
    }
    const int left = thumb.Left + thumb.Width() / 2 - imageWidth / 2;
    return {left, 0, left + imageWidth, imageHeight};
}

int ClampSliderPosition(int position) {
    return std::clamp(position, kSliderMin, kSliderMax);
}

} // namespace sentinax
