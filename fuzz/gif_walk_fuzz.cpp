// libFuzzer target: any bytes as a GIF for the block walk, the frame cutting
// and the frame clock's disposal rules.
// Built with the others by SENTINAX_FUZZ (fuzz/README.md).
#include "GifAnimation.h"
#include "GifBlockWalk.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

// Checks that the clock only asks for rectangles and frames that exist.
class CheckingCanvas : public sentinax::GifCanvas {
public:
    explicit CheckingCanvas(size_t frames) : frames_(frames) {}
    bool RenderFrame(size_t index) override {
        if (index >= frames_)
            std::abort();
        return true;
    }
    void FillBackground(int, int, int width, int height) override {
        if (width < 0 || height < 0)
            std::abort();
    }
    void SaveArea(int, int, int width, int height) override {
        if (width < 0 || height < 0)
            std::abort();
        saved_ = true;
    }
    void RestoreArea() override { saved_ = false; }

private:
    size_t frames_;
    bool saved_ = false;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exactly sized copy, so any read past the end is caught.
    const std::vector<uint8_t> gif(data, data + size);
    const auto screen = sentinax::ReadGifScreen(gif.data(), gif.size());
    if (!screen)
        return 0;
    sentinax::GifBlockWalk walk(gif.data(), gif.size(), *screen);
    const int count = walk.CountGraphicBlocks();
    std::vector<sentinax::GifFrameInfo> frames;
    while (auto frame = walk.TakeGraphicBlock()) {
        // Each frame is a GIF of its own that the walk reads as one block.
        const auto own = sentinax::ReadGifScreen(frame->Gif.data(), frame->Gif.size());
        if (!own)
            std::abort();
        sentinax::GifBlockWalk ownWalk(frame->Gif.data(), frame->Gif.size(), *own);
        if (ownWalk.CountGraphicBlocks() != 1)
            std::abort();
        frames.push_back(
            {frame->Left, frame->Top, frame->Width, frame->Height, frame->Delay, frame->Disposal});
    }
    if (static_cast<int>(frames.size()) != count)
        std::abort();
    sentinax::GifAnimation clock(frames, screen->Width, screen->Height);
    CheckingCanvas canvas(frames.size());
    if (clock.Begin(canvas) < 50)
        std::abort();
    for (size_t i = 0; i < 2 * frames.size() + 1; ++i)
        if (clock.Advance(canvas) < 50)
            std::abort();
    return 0;
}
