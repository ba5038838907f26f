// The scan behind BitmapToRegion: every maximal run of non-transparent pixels
// of a row becomes one rectangle one pixel high (runs are never merged across
// rows). Rectangles are collected in a region-data block that starts with
// room for 100 and grows by 100; whenever it holds 2,000 rectangles it is
// handed to the sink (which makes a region of it and unites it with the
// result) and emptied. After the last row the rest is handed over too, even
// when it is empty, so the sink is always called at least once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace sentinax {

// Pixels of the window; right and bottom are exclusive.
struct RegionRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    bool operator==(const RegionRect&) const = default;
};

// One region-data block: a 32-byte header (size 32, type 1 for rectangles,
// count, size field 0, bounding rectangle) followed by 16-byte rectangles.
struct RegionData {
    static constexpr uint32_t kHeaderSize = 32;
    static constexpr uint32_t kRectangles = 1;
    static constexpr std::size_t kGrowth = 100;
    static constexpr std::size_t kChunk = 2000;

    std::vector<RegionRect> Rects; // Rects.size() is the header's count
    std::size_t Capacity = kGrowth;
    // Starts empty as (INT32_MAX, INT32_MAX, 0, 0); widened by every rectangle.
    RegionRect Bound{INT32_MAX, INT32_MAX, 0, 0};

    // The size a region is created with: header plus the room allocated.
    std::size_t BlockBytes() const { return kHeaderSize + 16 * Capacity; }
    void Add(const RegionRect& rect);
    // Count and bounding rectangle back to empty; the room stays.
    void Reset();
};

// 32-bit pixels as native 32-bit words, top row first: the lowest byte of a
// word is blue, then green, then red (the top byte is ignored). StrideBytes:
// bytes from one row to the next, a multiple of 4 and at least 4 * width.
struct MaskPixels {
    const uint8_t* Data = nullptr;
    int Width = 0;
    int Height = 0;
    std::size_t StrideBytes = 0;
};

using RegionChunkSink = std::function<void(const RegionData&)>;

// key and tolerance are colours red + 256 * green + 65536 * blue. A channel's
// transparent range runs from the key's value to key + tolerance, capped at
// 255; a pixel is transparent when all three channels lie in their ranges.
// The pixel's lowest byte is tested against the key's red byte, its second
// against green and its third against blue (for a grey key such as white the
// pairing makes no difference).
void ScanMask(const MaskPixels& pixels, uint32_t key, uint32_t tolerance,
              const RegionChunkSink& sink);

// White with a tolerance of 16 per channel: only pure white is outside.
constexpr uint32_t kMaskKey = 0xFFFFFF;
constexpr uint32_t kMaskTolerance = 16 + 256 * 16 + 65536 * 16;

} // namespace sentinax
