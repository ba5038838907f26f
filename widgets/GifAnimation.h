// The frame clock of an animated picture: which frame to draw next, how long
// it stays, and what its disposal leaves behind. It draws nothing itself; it
// tells a GifCanvas what to do, so the same rules drive the widget's surface
// and a recorder in the tests.
#pragma once

#include "GifBlockWalk.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sentinax {

// Disposal methods of the graphic control extension.
inline constexpr int kGifDisposeNone = 0;
inline constexpr int kGifDisposeKeep = 1;
inline constexpr int kGifDisposeBackground = 2;
inline constexpr int kGifDisposePrevious = 3;

// What the clock keeps of one frame (the picture itself stays with the canvas).
struct GifFrameInfo {
    int Left = 0, Top = 0;        // pixels, on the logical screen
    int Width = 0, Height = 0;    // pixels
    uint32_t Delay = kGifNoDelay; // hundredths of a second
    int Disposal = kGifDisposeNone;
};

// The drawing surface the clock drives. Rectangles are in surface pixels.
class GifCanvas {
public:
    virtual ~GifCanvas() = default;
    // Draws frame `index` over the surface at its rectangle (and asks for a
    // repaint). False when the frame has no picture.
    virtual bool RenderFrame(size_t index) = 0;
    // Fills a rectangle with the background colour.
    virtual void FillBackground(int left, int top, int width, int height) = 0;
    // Keeps a copy of the area under a frame about to be drawn.
    virtual void SaveArea(int left, int top, int width, int height) = 0;
    // Copies the kept area back where it was taken and drops it; nothing when
    // no area is kept.
    virtual void RestoreArea() = 0;
};

class GifAnimation {
public:
    GifAnimation() = default;
    GifAnimation(std::vector<GifFrameInfo> frames, int screenWidth, int screenHeight);

    const std::vector<GifFrameInfo>& Frames() const { return frames_; }
    size_t CurrentFrame() const { return current_; }

    // Starts or resumes at the current frame: its disposal is applied first
    // (a stopped animation kept it on the surface), then it is drawn again.
    // Returns the milliseconds it stays.
    uint32_t Begin(GifCanvas& canvas);
    // The current frame's time is up: dispose of it, go to the next (after the
    // last, back to the first over a surface refilled with the background),
    // draw it. Returns the milliseconds it stays.
    uint32_t Advance(GifCanvas& canvas);
    // How long the current frame stays, in milliseconds.
    uint32_t CurrentWaitMs() const;

    // Milliseconds a frame with this delay (hundredths of a second) stays:
    // delay x 10 from 5 hundredths on; shorter delays (0 to 4, which some
    // writers use to mean "as fast as possible") and frames without a control
    // extension stay 100 ms, so no delay can spin the clock or freeze it.
    static uint32_t FrameWaitMs(uint32_t delay);

private:
    void Dispose(GifCanvas& canvas);
    void DrawCurrent(GifCanvas& canvas);

    std::vector<GifFrameInfo> frames_;
    int screenWidth_ = 0;
    int screenHeight_ = 0;
    size_t current_ = 0;
};

} // namespace sentinax
