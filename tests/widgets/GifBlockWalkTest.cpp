#include "GifBlockWalk.h"
#include "GifTestData.h"

#include <gtest/gtest.h>

#include <array>
#include <random>

namespace sentinax {
namespace {

using testing::GifBuilder;
using Bytes = std::vector<uint8_t>;

const std::vector<uint32_t> kColours{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

// A screen with a 4-colour global table: the first block is at 13 + 12.
GifBuilder Screen(int width = 8, int height = 6) {
    GifBuilder gif;
    gif.Header(width, height, 2, kColours);
    return gif;
}

GifScreen ScreenOf(const Bytes& data) {
    std::string error;
    auto screen = ReadGifScreen(data.data(), data.size(), &error);
    EXPECT_TRUE(screen) << error;
    return screen.value_or(GifScreen{});
}

TEST(GifBlockWalk, ScreenIsReadOrRefusedWithAReason) {
    struct Case {
        const char* why;
        Bytes data;
        bool ok;
        int width, height;
        size_t firstBlock;
    };
    GifBuilder noTable;
    noTable.Header(3, 2, 0, {});
    GifBuilder big;
    big.Header(255, 255, 8, {});
    GifBuilder old;
    old.Header(5, 4, 1, {0, 0xFFFFFF}, "GIF87a");
    Bytes cutTable = Screen().Data();
    cutTable.pop_back();
    Bytes cutScreen = Screen().Data();
    cutScreen.resize(12);
    GifBuilder empty;
    empty.Header(0, 6, 0, {});
    GifBuilder huge;
    huge.Header(65535, 65535, 0, {});
    GifBuilder wrongVersion;
    wrongVersion.Header(4, 4, 0, {}, "GIF90a");
    const Case cases[] = {
        {"four-colour table", Screen().Data(), true, 8, 6, 25},
        {"no global table", noTable.Data(), true, 3, 2, 13},
        {"256-colour table", big.Data(), true, 255, 255, 13 + 768},
        {"GIF87a", old.Data(), true, 5, 4, 13 + 6},
        {"table cut short", cutTable, false, 0, 0, 0},
        {"descriptor cut short", cutScreen, false, 0, 0, 0},
        {"empty screen", empty.Data(), false, 0, 0, 0},
        {"65535 x 65535 screen", huge.Data(), false, 0, 0, 0},
        {"unknown version", wrongVersion.Data(), false, 0, 0, 0},
        {"a PNG", {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 0, 0}, false, 0, 0, 0},
        {"nothing", {}, false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        std::string error;
        const auto screen = ReadGifScreen(c.data.data(), c.data.size(), &error);
        ASSERT_EQ(screen.has_value(), c.ok) << c.why;
        if (!c.ok) {
            EXPECT_FALSE(error.empty()) << c.why;
            continue;
        }
        EXPECT_EQ(screen->Width, c.width) << c.why;
        EXPECT_EQ(screen->Height, c.height) << c.why;
        EXPECT_EQ(screen->FirstBlock(), c.firstBlock) << c.why;
    }
}

TEST(GifBlockWalk, EveryBlockKindIsMeasured) {
    struct Case {
        const char* why;
        GifBlockKind kind;
        size_t length;
    };
    GifBuilder gif = Screen();
    gif.Looping()         // 14 + loop count sub-block (1 + 3) + end
        .Comment("hello") // 2 + 1 + 5 + 1
        .Control(5, 1)    // 8
        .PlainText("abc") // 15 + 1 + 3 + 1
        .Control(5, 2)    // 8
        .Image(0, 0, 2, 1, {1, 2}, 1, {0x123456, 0x654321}) // 10 + 6 + 1 + chain
        .Trailer();
    const Bytes& data = gif.Data();
    GifBlockWalk walk(data.data(), data.size(), ScreenOf(data));
    const size_t imageChain = 1 + GifBuilder::LiteralLzw({1, 2}, 8).size() + 1;
    const Case cases[] = {
        {"application", GifBlockKind::Application, 14 + 4 + 1},
        {"comment", GifBlockKind::Comment, 2 + 1 + 5 + 1},
        {"control", GifBlockKind::GraphicControl, 8},
        {"plain text", GifBlockKind::PlainText, 15 + 1 + 3 + 1},
        {"control", GifBlockKind::GraphicControl, 8},
        {"image with a local table", GifBlockKind::Image, 10 + 6 + 1 + imageChain},
        {"trailer", GifBlockKind::Trailer, 1},
    };
    size_t offset = 25;
    for (const Case& c : cases) {
        EXPECT_EQ(walk.KindAt(offset), c.kind) << c.why;
        const auto length = walk.BlockLength(offset);
        ASSERT_TRUE(length) << c.why;
        EXPECT_EQ(*length, c.length) << c.why;
        offset += *length;
    }
    EXPECT_EQ(offset, data.size());
    EXPECT_EQ(walk.KindAt(offset), GifBlockKind::Unknown) << "past the end";
    EXPECT_EQ(walk.CountGraphicBlocks(), 2);
}

TEST(GifBlockWalk, FramesAreCutOutWithTheirTimingAndRectangle) {
    GifBuilder gif = Screen(10, 8);
    gif.Looping()
        .Control(7, 3)
        .Comment("between")
        .Image(1, 2, 3, 2, Bytes(6, 1))
        .Comment("before an image without control")
        .Image(4, 5, 2, 2, Bytes(4, 2))
        .Control(0, 2)
        .PlainText("text")
        .Trailer();
    const Bytes& data = gif.Data();
    const GifScreen screen = ScreenOf(data);
    GifBlockWalk walk(data.data(), data.size(), screen);
    ASSERT_EQ(walk.CountGraphicBlocks(), 3);

    auto first = walk.TakeGraphicBlock();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->Delay, 7u);
    EXPECT_EQ(first->Disposal, 3);
    EXPECT_EQ((std::array{first->Left, first->Top, first->Width, first->Height}),
              (std::array{1, 2, 3, 2}));
    // Header and table, then control, comment and image once each, then the
    // trailer: a GIF of its own with exactly one graphic block.
    const Bytes& own = first->Gif;
    ASSERT_GT(own.size(), 25u);
    EXPECT_TRUE(std::equal(own.begin(), own.begin() + 25, data.begin()));
    EXPECT_EQ(own.back(), 0x3B);
    EXPECT_EQ(own[25], 0x21);
    EXPECT_EQ(own[26], 0xF9);
    const auto ownScreen = ReadGifScreen(own.data(), own.size());
    ASSERT_TRUE(ownScreen);
    GifBlockWalk ownWalk(own.data(), own.size(), *ownScreen);
    EXPECT_EQ(ownWalk.CountGraphicBlocks(), 1);
    EXPECT_TRUE(ownWalk.SkipGraphicBlock());
    EXPECT_EQ(ownWalk.KindAt(ownWalk.Offset()), GifBlockKind::Trailer);

    auto second = walk.TakeGraphicBlock();
    ASSERT_TRUE(second);
    EXPECT_EQ(second->Delay, kGifNoDelay);
    EXPECT_EQ(second->Disposal, 0);
    EXPECT_EQ((std::array{second->Left, second->Top, second->Width, second->Height}),
              (std::array{4, 5, 2, 2}));
    EXPECT_EQ(second->Gif[25], 0x2C) << "the comment before it is not part of the frame";

    auto third = walk.TakeGraphicBlock();
    ASSERT_TRUE(third) << "a plain text block is a graphic block";
    EXPECT_EQ(third->Delay, 0u);
    EXPECT_EQ(third->Width, 0);
    EXPECT_FALSE(walk.TakeGraphicBlock()) << "the trailer ends the walk";
}

TEST(GifBlockWalk, BrokenStructuresEndTheWalkAfterTheGoodFrames) {
    struct Case {
        const char* why;
        Bytes tail; // after one good frame
        int frames;
    };
    const Bytes image = [] {
        GifBuilder g;
        g.Fill(0, 0, 2, 2, 1);
        return g.Data();
    }();
    auto cut = [](Bytes b, size_t n) {
        b.resize(b.size() - n);
        return b;
    };
    auto with = [&](Bytes head, const Bytes& rest) {
        head.insert(head.end(), rest.begin(), rest.end());
        return head;
    };
    const Case cases[] = {
        {"a second good frame", image, 2},
        {"unknown extension label", with({0x21, 0x99, 0x00}, image), 1},
        {"unknown block byte", with({0x00}, image), 1},
        {"image data chain runs off the end", cut(image, 1), 1},
        {"image descriptor cut short", Bytes(image.begin(), image.begin() + 6), 1},
        {"control extension cut short", {0x21, 0xF9, 0x04, 0x04}, 1},
        {"control followed by a control",
         with({0x21, 0xF9, 4, 4, 5, 0, 0, 0, 0x21, 0xF9, 4, 4, 5, 0, 0, 0}, image), 1},
        {"control followed by the trailer", {0x21, 0xF9, 4, 4, 5, 0, 0, 0, 0x3B}, 1},
        {"sub-block length past the end", {0x21, 0xFE, 200, 'x'}, 1},
        {"application extension head cut", {0x21, 0xFF, 0x0B, 'N'}, 1},
        {"lone introducer at the end", {0x21}, 1},
        {"a local table that is not there", {0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0x87}, 1},
        {"trailer, then more frames", with({0x3B}, image), 1},
    };
    for (const Case& c : cases) {
        GifBuilder gif = Screen();
        gif.Control(5, 1).Fill(0, 0, 8, 6, 0).Raw(c.tail);
        // An exactly sized copy: any read past the end is a sanitizer error.
        const Bytes data = gif.Data();
        GifBlockWalk walk(data.data(), data.size(), ScreenOf(data));
        EXPECT_EQ(walk.CountGraphicBlocks(), c.frames) << c.why;
        int taken = 0;
        while (walk.TakeGraphicBlock())
            ++taken;
        EXPECT_EQ(taken, c.frames) << c.why;
    }
}

// Every prefix and many damaged copies of a valid animation: the walk ends,
// never reads outside the data, and never finds more frames than it has.
TEST(GifBlockWalk, TruncatedAndDamagedDataIsWalkedSafely) {
    GifBuilder gif = Screen();
    gif.Looping().Comment("c");
    for (int i = 0; i < 4; ++i)
        gif.Control(5, i).Fill(i, 0, 4, 3, static_cast<uint8_t>(i));
    gif.Trailer();
    const Bytes& full = gif.Data();
    for (size_t n = 0; n <= full.size(); ++n) {
        const Bytes data(full.begin(), full.begin() + static_cast<long>(n));
        const auto screen = ReadGifScreen(data.data(), data.size());
        if (!screen)
            continue;
        GifBlockWalk walk(data.data(), data.size(), *screen);
        EXPECT_LE(walk.CountGraphicBlocks(), 4) << n;
    }
    std::mt19937 random(14);
    for (int round = 0; round < 2000; ++round) {
        Bytes data = full;
        const int flips = 1 + static_cast<int>(random() % 4);
        for (int f = 0; f < flips; ++f)
            data[25 + random() % (data.size() - 25)] = static_cast<uint8_t>(random());
        data.resize(25 + random() % (data.size() - 24));
        const auto screen = ReadGifScreen(data.data(), data.size());
        ASSERT_TRUE(screen);
        GifBlockWalk walk(data.data(), data.size(), *screen);
        const int count = walk.CountGraphicBlocks();
        int taken = 0;
        while (auto frame = walk.TakeGraphicBlock()) {
            ++taken;
            ASSERT_LE(frame->Gif.size(), data.size() + 1);
        }
        EXPECT_EQ(taken, count);
    }
}

} // namespace
} // namespace sentinax
