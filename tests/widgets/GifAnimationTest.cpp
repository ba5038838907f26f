#include "GifAnimation.h"

#include <gtest/gtest.h>

#include <sstream>

namespace sentinax {
namespace {

// Writes down what the clock asks of the surface, one word per call.
class RecordingCanvas : public GifCanvas {
public:
    bool RenderFrame(size_t index) override {
        log << "draw" << index << ' ';
        return true;
    }
    void FillBackground(int l, int t, int w, int h) override {
        log << "fill" << l << ',' << t << ',' << w << ',' << h << ' ';
    }
    void SaveArea(int l, int t, int w, int h) override {
        log << "save" << l << ',' << t << ',' << w << ',' << h << ' ';
    }
    void RestoreArea() override { log << "restore "; }
    std::string Take() {
        std::string s = log.str();
        log.str("");
        return s;
    }
    std::ostringstream log;
};

std::vector<GifFrameInfo> Uniform(int count, uint32_t delay, int disposal) {
    std::vector<GifFrameInfo> frames;
    for (int i = 0; i < count; ++i)
        frames.push_back({0, 0, 96, 96, delay, disposal});
    return frames;
}

TEST(GifAnimation, EightFramesOfFiveHundredthsLoopWithABackgroundRefill) {
    GifAnimation clock(Uniform(8, 5, kGifDisposeKeep), 96, 96);
    RecordingCanvas canvas;
    EXPECT_EQ(clock.Begin(canvas), 50u);
    EXPECT_EQ(canvas.Take(), "draw0 ");
    for (int i = 1; i < 8; ++i) {
        EXPECT_EQ(clock.Advance(canvas), 50u);
        EXPECT_EQ(canvas.Take(), "draw" + std::to_string(i) + " ");
    }
    // After the eighth frame the whole surface is cleared, then frame 0 again.
    EXPECT_EQ(clock.Advance(canvas), 50u);
    EXPECT_EQ(canvas.Take(), "fill0,0,96,96 draw0 ");
    EXPECT_EQ(clock.CurrentFrame(), 0u);
}

TEST(GifAnimation, DisposalsActOnTheFramesOwnRectangle) {
    std::vector<GifFrameInfo> frames{
        {0, 0, 10, 10, 10, kGifDisposeNone},
        {2, 3, 4, 5, 10, kGifDisposeBackground},
        {1, 1, 6, 6, 10, kGifDisposePrevious},
        {0, 0, 1, 1, 10, kGifDisposeKeep},
    };
    GifAnimation clock(frames, 10, 10);
    RecordingCanvas canvas;
    clock.Begin(canvas);
    EXPECT_EQ(canvas.Take(), "draw0 ");
    clock.Advance(canvas);
    EXPECT_EQ(canvas.Take(), "draw1 ");
    clock.Advance(canvas);
    EXPECT_EQ(canvas.Take(), "fill2,3,4,5 save1,1,6,6 draw2 ");
    clock.Advance(canvas);
    EXPECT_EQ(canvas.Take(), "restore draw3 ");
    clock.Advance(canvas);
    EXPECT_EQ(canvas.Take(), "fill0,0,10,10 draw0 ");
}

// Stopping keeps the frame; starting again disposes of it and draws it anew,
// so a frame that restores its area does not leave itself behind.
TEST(GifAnimation, ResumingRestartsTheKeptFrame) {
    std::vector<GifFrameInfo> frames{
        {0, 0, 10, 10, 10, kGifDisposeKeep},
        {1, 1, 2, 2, 10, kGifDisposePrevious},
        {3, 3, 2, 2, 10, kGifDisposeBackground},
    };
    GifAnimation clock(frames, 10, 10);
    RecordingCanvas canvas;
    clock.Begin(canvas);
    clock.Advance(canvas);
    canvas.Take();
    EXPECT_EQ(clock.CurrentFrame(), 1u);
    clock.Begin(canvas);
    EXPECT_EQ(canvas.Take(), "restore save1,1,2,2 draw1 ");
    clock.Advance(canvas);
    canvas.Take();
    clock.Begin(canvas);
    EXPECT_EQ(canvas.Take(), "fill3,3,2,2 draw2 ");
}

TEST(GifAnimation, FrameWaitsNeverSpinOrFreeze) {
    struct Case {
        const char* why;
        uint32_t delay;
        uint32_t ms;
    };
    const Case cases[] = {
        {"zero delay is not a busy loop", 0, 100},
        {"under five hundredths", 4, 100},
        {"five hundredths", 5, 50},
        {"one second", 100, 1000},
        {"largest delay a file can hold", 0xFFFF, 655350},
        {"no control extension", kGifNoDelay, 100},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GifAnimation::FrameWaitMs(c.delay), c.ms) << c.why;
}

} // namespace
} // namespace sentinax
