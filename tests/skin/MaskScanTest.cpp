#include "skin/MaskScan.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace sentinax {
namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kBlack = 0xFF000000;

// A hand-made mask: 32-bit words (0xAARRGGBB), rows padded to stride words.
struct Mask {
    int width, height, stride;
    std::vector<uint32_t> words;
    Mask(int w, int h, uint32_t fill, int padding = 0)
        : width(w), height(h), stride(w + padding),
          words(static_cast<size_t>((w + padding) * h), fill) {}
    uint32_t& at(int x, int y) { return words[static_cast<size_t>(y * stride + x)]; }
    MaskPixels View() const {
        return {reinterpret_cast<const uint8_t*>(words.data()), width, height,
                static_cast<size_t>(stride) * 4};
    }
};

struct Scan {
    std::vector<RegionData> chunks;
    std::vector<RegionRect> All() const {
        std::vector<RegionRect> all;
        for (const RegionData& c : chunks)
            all.insert(all.end(), c.Rects.begin(), c.Rects.end());
        return all;
    }
};

Scan ScanOf(const Mask& mask, uint32_t key = kMaskKey, uint32_t tolerance = kMaskTolerance) {
    Scan scan;
    ScanMask(mask.View(), key, tolerance, [&](const RegionData& d) { scan.chunks.push_back(d); });
    return scan;
}

TEST(MaskScan, OnlyPureWhiteIsOutside) {
    struct Case {
        const char* why;
        uint32_t pixel;
        bool inside;
    } cases[] = {
        {"pure white is cut away", 0xFFFFFFFF, false},
        {"the top byte does not count", 0x00FFFFFF, false},
        {"(255, 255, 254) stays", 0xFFFFFFFE, true},
        {"(254, 255, 255) stays", 0xFFFEFFFF, true},
        {"black stays", kBlack, true},
    };
    for (const Case& c : cases) {
        Mask mask(3, 1, kWhite);
        mask.at(1, 0) = c.pixel;
        const Scan scan = ScanOf(mask);
        ASSERT_EQ(scan.chunks.size(), 1u) << c.why;
        if (c.inside)
            EXPECT_EQ(scan.All(), (std::vector<RegionRect>{{1, 0, 2, 1}})) << c.why;
        else
            EXPECT_TRUE(scan.All().empty()) << c.why;
    }
}

TEST(MaskScan, AllWhiteStillHandsOverOneEmptyBlock) {
    const Scan scan = ScanOf(Mask(40, 30, kWhite));
    ASSERT_EQ(scan.chunks.size(), 1u);
    EXPECT_TRUE(scan.chunks[0].Rects.empty());
    EXPECT_EQ(scan.chunks[0].Bound, (RegionRect{INT32_MAX, INT32_MAX, 0, 0}));
    EXPECT_EQ(scan.chunks[0].BlockBytes(), 32u + 16u * 100u);
}

TEST(MaskScan, RunsPerRowUpToTheRightEdgeNeverMergedAcrossRows) {
    // Row 0: runs 0-1 and 3-5 (touching the right edge); row 1 the same;
    // row 2 all white; the padding beyond the width is white and not read.
    Mask mask(6, 3, kBlack, 2);
    mask.at(2, 0) = mask.at(2, 1) = kWhite;
    for (int x = 0; x < 6; ++x)
        mask.at(x, 2) = kWhite;
    const Scan scan = ScanOf(mask);
    EXPECT_EQ(scan.All(),
              (std::vector<RegionRect>{{0, 0, 2, 1}, {3, 0, 6, 1}, {0, 1, 2, 2}, {3, 1, 6, 2}}));
    EXPECT_EQ(scan.chunks.back().Bound, (RegionRect{0, 0, 6, 2}));
}

TEST(MaskScan, ThreeThousandRunsComeInTwoBlocks) {
    // 3,000 one-pixel runs: every other pixel of 60 rows of 100.
    Mask mask(100, 60, kWhite);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 100; x += 2)
            mask.at(x, y) = kBlack;
    const Scan scan = ScanOf(mask);
    ASSERT_EQ(scan.chunks.size(), 2u);
    EXPECT_EQ(scan.chunks[0].Rects.size(), 2000u);
    EXPECT_EQ(scan.chunks[0].BlockBytes(), 32u + 16u * 2000u) << "grown in steps of 100";
    EXPECT_EQ(scan.chunks[1].Rects.size(), 1000u);
    EXPECT_EQ(scan.chunks[1].Bound, (RegionRect{0, 40, 99, 60}))
        << "the second block's bounds start afresh";
    const std::vector<RegionRect> all = scan.All();
    ASSERT_EQ(all.size(), 3000u);
    EXPECT_EQ(all[1999], (RegionRect{98, 39, 99, 40}));
    EXPECT_EQ(all[2000], (RegionRect{0, 40, 1, 41}));
}

TEST(MaskScan, ExactlyFullBlocksEndWithAnEmptyOne) {
    Mask mask(2000, 2, kWhite);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2000; x += 2)
            mask.at(x, y) = kBlack;
    const Scan scan = ScanOf(mask);
    ASSERT_EQ(scan.chunks.size(), 2u);
    EXPECT_EQ(scan.chunks[0].Rects.size(), 2000u);
    EXPECT_TRUE(scan.chunks[1].Rects.empty());
}

TEST(MaskScan, ChannelsPairLowestByteWithTheKeysRed) {
    // Key red 200 (tolerance 0), green 0, blue 0 in the colour layout. A pixel
    // whose lowest byte (blue in the 32-bit layout) is 200 is the key.
    const uint32_t key = 200;
    Mask mask(2, 1, kBlack);
    mask.at(0, 0) = 0xFF0000C8; // lowest byte 200
    mask.at(1, 0) = 0xFFC80000; // third byte 200
    const Scan scan = ScanOf(mask, key, 0);
    EXPECT_EQ(scan.All(), (std::vector<RegionRect>{{1, 0, 2, 1}}));
}

TEST(MaskScan, ToleranceIsCappedAtTheTop) {
    // Key 250 with tolerance 16 per channel: 250..255, not wrapping round to 0..10.
    const uint32_t key = 250 + 256 * 250 + 65536 * 250;
    Mask mask(3, 1, 0xFFFAFAFA);
    mask.at(1, 0) = 0xFF050505;
    mask.at(2, 0) = 0xFFF9FAFA;
    const Scan scan = ScanOf(mask, key, kMaskTolerance);
    EXPECT_EQ(scan.All(), (std::vector<RegionRect>{{1, 0, 3, 1}}));
}

TEST(MaskScan, UnusableViewsGiveAnEmptyRegion) {
    Mask mask(4, 4, kBlack);
    MaskPixels narrow = mask.View();
    narrow.StrideBytes = 8; // less than a row
    for (const MaskPixels& view : {MaskPixels{}, narrow}) {
        int calls = 0;
        ScanMask(view, kMaskKey, kMaskTolerance, [&](const RegionData& d) {
            ++calls;
            EXPECT_TRUE(d.Rects.empty());
        });
        EXPECT_EQ(calls, 1);
    }
}

} // namespace
} // namespace sentinax
