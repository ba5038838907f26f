#include "GifAnimation.h"

#include <utility>

namespace sentinax {

namespace {
constexpr uint32_t kShortestDelay = 5; // hundredths
constexpr uint32_t kDefaultWaitMs = 100;
} // namespace

GifAnimation::GifAnimation(std::vector<GifFrameInfo> frames, int screenWidth, int screenHeight)
    : frames_(std::move(frames)), screenWidth_(screenWidth), screenHeight_(screenHeight) {}

uint32_t GifAnimation::FrameWaitMs(uint32_t delay) {
    if (delay == kGifNoDelay || delay < kShortestDelay)
        return kDefaultWaitMs;
    return delay * 10;
}

uint32_t GifAnimation::CurrentWaitMs() const {
    if (frames_.empty())
        return kDefaultWaitMs;
    return FrameWaitMs(frames_[current_].Delay);
}

void GifAnimation::Dispose(GifCanvas& canvas) {
    const GifFrameInfo& frame = frames_[current_];
    if (frame.Disposal == kGifDisposeBackground)
        canvas.FillBackground(frame.Left, frame.Top, frame.Width, frame.Height);
    else if (frame.Disposal == kGifDisposePrevious)
        canvas.RestoreArea();
}

void GifAnimation::DrawCurrent(GifCanvas& canvas) {
    const GifFrameInfo& frame = frames_[current_];
    if (frame.Disposal == kGifDisposePrevious)
        canvas.SaveArea(frame.Left, frame.Top, frame.Width, frame.Height);
    canvas.RenderFrame(current_);
}

uint32_t GifAnimation::Begin(GifCanvas& canvas) {
    if (frames_.empty())
        return kDefaultWaitMs;
    Dispose(canvas);
    DrawCurrent(canvas);
    return CurrentWaitMs();
}

uint32_t GifAnimation::Advance(GifCanvas& canvas) {
    if (frames_.empty())
        return kDefaultWaitMs;
    Dispose(canvas);
    if (++current_ >= frames_.size()) {
        // The loop count of the file is not read: the animation repeats for
        // as long as it is shown.
        current_ = 0;
        canvas.FillBackground(0, 0, screenWidth_, screenHeight_);
    }
    DrawCurrent(canvas);
    return CurrentWaitMs();
}

} // namespace sentinax
