#include "MaskScan.h"

#include <algorithm>
#include <cstring>

namespace sentinax {

void RegionData::Add(const RegionRect& rect) {
    if (Rects.size() >= Capacity)
        Capacity += kGrowth;
    Rects.push_back(rect);
    Bound.Left = std::min(Bound.Left, rect.Left);
    Bound.Top = std::min(Bound.Top, rect.Top);
    Bound.Right = std::max(Bound.Right, rect.Right);
    Bound.Bottom = std::max(Bound.Bottom, rect.Bottom);
}

void RegionData::Reset() {
    Rects.clear();
    Bound = RegionRect{INT32_MAX, INT32_MAX, 0, 0};
}

namespace {

struct ChannelRange {
    uint8_t Low = 0;
    uint8_t High = 0;
    bool Holds(uint8_t value) const { return value >= Low && value <= High; }
};

ChannelRange RangeOf(uint32_t key, uint32_t tolerance, int shift) {
    const uint32_t low = (key >> shift) & 0xFF;
    const uint32_t high = std::min<uint32_t>(low + ((tolerance >> shift) & 0xFF), 255);
    return {static_cast<uint8_t>(low), static_cast<uint8_t>(high)};
}

} // namespace

void ScanMask(const MaskPixels& pixels, uint32_t key, uint32_t tolerance,
              const RegionChunkSink& sink) {
    // Lowest pixel byte against the key's red, second against green, third
    // against blue.
    const ChannelRange first = RangeOf(key, tolerance, 0);
    const ChannelRange second = RangeOf(key, tolerance, 8);
    const ChannelRange third = RangeOf(key, tolerance, 16);
    auto transparent = [&](const uint8_t* px) {
        uint32_t word;
        std::memcpy(&word, px, sizeof word);
        return first.Holds(static_cast<uint8_t>(word)) &&
               second.Holds(static_cast<uint8_t>(word >> 8)) &&
               third.Holds(static_cast<uint8_t>(word >> 16));
    };

    RegionData block;
    block.Rects.reserve(RegionData::kChunk);
    const bool usable = pixels.Data != nullptr && pixels.Width > 0 && pixels.Height > 0 &&
                        pixels.StrideBytes >= 4 * static_cast<std::size_t>(pixels.Width) &&
                        pixels.StrideBytes % 4 == 0;
    for (int y = 0; usable && y < pixels.Height; ++y) {
        const uint8_t* row = pixels.Data + static_cast<std::size_t>(y) * pixels.StrideBytes;
        for (int x = 0; x < pixels.Width; ++x) {
            if (transparent(row + 4 * x))
                continue;
            const int x0 = x;
            while (x < pixels.Width && !transparent(row + 4 * x))
                ++x;
            block.Add({x0, y, x, y + 1});
            if (block.Rects.size() == RegionData::kChunk) {
                sink(block);
                block.Reset();
            }
        }
    }
    sink(block);
}

} // namespace sentinax
