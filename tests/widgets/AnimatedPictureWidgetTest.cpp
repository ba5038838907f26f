#include "CAnimatedPicture.h"
#include "GifBlockWalk.h"
#include "GifTestData.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPaintEvent>
#include <functional>
#include <gtest/gtest.h>

namespace sentinax {
namespace {

using testing::GifBuilder;
using Bytes = std::vector<uint8_t>;

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF;
const std::vector<uint32_t> kColours{kRed, kGreen, kBlue, kWhite};

QByteArray ToBytes(const GifBuilder& gif) {
    return QByteArray(reinterpret_cast<const char*>(gif.Data().data()),
                      static_cast<qsizetype>(gif.Size()));
}

void Pump(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the event loop until done() holds; the deadline only guards a hang.
bool WaitFor(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > 5000)
            return false;
        Pump(2);
    }
    return true;
}

uint32_t Rgb(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFF;
}

QByteArray ShippedPicture() {
    QFile file(QStringLiteral(":/GIF/129"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Window {
    QWidget face;
    CAnimatedPicture* picture = new CAnimatedPicture(&face);
    Window() {
        face.resize(560, 430);
        picture->move(443, 57);
    }
};

TEST(AnimatedPictureWidget, ShippedPictureAnimatesEightFramesAtFiftyMilliseconds) {
    Window window;
    CAnimatedPicture& picture = *window.picture;
    ASSERT_TRUE(picture.LoadFromResource(QStringLiteral("129"), QStringLiteral("GIF")));
    EXPECT_TRUE(picture.IsGif());
    EXPECT_EQ(picture.geometry(), QRect(443, 57, 96, 96)) << "sized to the picture, kept in place";
    ASSERT_EQ(picture.Frames().size(), 8u);
    for (const GifFrame& frame : picture.Frames()) {
        EXPECT_EQ(frame.Picture.size(), QSize(96, 96));
        EXPECT_EQ(frame.Info.Delay, 5u);
        EXPECT_EQ(frame.Info.Disposal, 1);
        EXPECT_EQ(GifAnimation::FrameWaitMs(frame.Info.Delay), 50u);
    }
    EXPECT_NE(picture.Frames()[0].Picture, picture.Frames()[1].Picture) << "the fan turns";
    EXPECT_FALSE(picture.Frames()[0].Picture.hasAlphaChannel()) << "frames cover the whole picture";

    window.face.show();
    ASSERT_TRUE(picture.Draw());
    EXPECT_TRUE(picture.IsPlaying());
    EXPECT_GT(picture.RemainingMs(), 0);
    EXPECT_LE(picture.RemainingMs(), 50);
    EXPECT_EQ(picture.Surface().convertToFormat(QImage::Format_RGB32),
              picture.Frames()[0].Picture.convertToFormat(QImage::Format_RGB32));
    ASSERT_TRUE(WaitFor([&] { return picture.CurrentFrame() == 1; }));
    EXPECT_EQ(picture.Surface().convertToFormat(QImage::Format_RGB32),
              picture.Frames()[1].Picture.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(picture.grab().toImage().convertToFormat(QImage::Format_RGB32),
              picture.Surface().convertToFormat(QImage::Format_RGB32))
        << "painting copies the surface";
    // The whole loop comes round to the first frame again.
    ASSERT_TRUE(WaitFor([&] { return picture.CurrentFrame() == 0; }));
    EXPECT_EQ(picture.Surface().convertToFormat(QImage::Format_RGB32),
              picture.Frames()[0].Picture.convertToFormat(QImage::Format_RGB32));
}

TEST(AnimatedPictureWidget, NothingIsComposedWhileTheWindowIsHidden) {
    Window window;
    CAnimatedPicture& picture = *window.picture;
    ASSERT_TRUE(picture.LoadFromMemory(ShippedPicture()));
    const QImage blank = picture.Surface();
    ASSERT_TRUE(picture.Draw());
    EXPECT_EQ(picture.RemainingMs(), -1) << "no clock for a window never shown";
    Pump(120);
    EXPECT_EQ(picture.Surface(), blank) << "no frame composed";

    window.face.show();
    EXPECT_GT(picture.RemainingMs(), 0);
    ASSERT_TRUE(WaitFor([&] { return picture.CurrentFrame() == 2; }));
    window.face.hide();
    EXPECT_EQ(picture.RemainingMs(), -1);
    const QImage kept = picture.Surface();
    Pump(150);
    EXPECT_EQ(picture.CurrentFrame(), 2u);
    EXPECT_EQ(picture.Surface(), kept);

    window.face.show();
    EXPECT_GT(picture.RemainingMs(), 0) << "resumes when shown again";
    EXPECT_EQ(picture.CurrentFrame(), 2u);
    window.face.showMinimized();
    EXPECT_EQ(picture.RemainingMs(), -1) << "a minimised window is not animated";
    window.face.showNormal();
    EXPECT_GT(picture.RemainingMs(), 0);

    picture.Stop();
    EXPECT_FALSE(picture.IsPlaying());
    EXPECT_EQ(picture.RemainingMs(), -1);
    EXPECT_EQ(picture.CurrentFrame(), 2u) << "Stop keeps the frame";
}

// Frame 0 fills the screen red; frame 1 is a blue 3 x 3 square at (1, 1)
// whose centre is transparent and which restores what was under it; frame 2
// is one green pixel in the far corner.
GifBuilder RestoringAnimation() {
    GifBuilder gif;
    gif.Header(6, 6, 2, kColours)
        .Looping()
        .Control(5, 1)
        .Fill(0, 0, 6, 6, 0)
        .Control(5, 3, 3)
        .Image(1, 1, 3, 3, {2, 2, 2, 2, 3, 2, 2, 2, 2})
        .Control(5, 1)
        .Fill(5, 5, 1, 1, 1)
        .Trailer();
    return gif;
}

TEST(AnimatedPictureWidget, DisposalThreeRestoresTheAreaUnderTheFrame) {
    Window window;
    CAnimatedPicture& picture = *window.picture;
    ASSERT_TRUE(picture.LoadFromMemory(ToBytes(RestoringAnimation())));
    ASSERT_EQ(picture.Frames().size(), 3u);
    EXPECT_EQ(picture.Frames()[1].Picture.size(), QSize(3, 3)) << "only the frame's rectangle";
    window.face.show();
    picture.Draw();
    ASSERT_TRUE(WaitFor([&] { return picture.CurrentFrame() == 1; }));
    const QImage& s = picture.Surface();
    EXPECT_EQ(Rgb(s, 1, 1), kBlue);
    EXPECT_EQ(Rgb(s, 2, 2), kRed) << "transparent pixels show what is under them";
    EXPECT_EQ(Rgb(s, 0, 0), kRed);
    ASSERT_TRUE(WaitFor([&] { return picture.CurrentFrame() == 2; }));
    EXPECT_EQ(Rgb(picture.Surface(), 1, 1), kRed) << "restored";
    EXPECT_EQ(Rgb(picture.Surface(), 3, 3), kRed);
    EXPECT_EQ(Rgb(picture.Surface(), 5, 5), kGreen);
}

TEST(AnimatedPictureWidget, BackgroundRefillsAfterTheLastFrameAndOnDisposalTwo) {
    // Frame 0: a red pixel at (0, 0), the rest transparent. Frame 1: a blue
    // 2 x 2 square at (2, 2) cleared to the background when it goes.
    Bytes first(16, 3);
    first[0] = 0;
    GifBuilder gif;
    gif.Header(4, 4, 2, kColours)
        .Control(5, 1, 3)
        .Image(0, 0, 4, 4, first)
        .Control(5, 1)
        .Fill(2, 2, 2, 2, 2)
        .Control(5, 2)
        .Fill(0, 2, 1, 1, 1)
        .Trailer();
    Window window;
    CAnimatedPicture& picture = *window.picture;
    ASSERT_TRUE(picture.LoadFromMemory(ToBytes(gif)));
    window.face.show();
    picture.Draw();
    const uint32_t background = picture.BackgroundColour().rgb() & 0xFFFFFF;
    ASSERT_TRUE(WaitFor([&] { return picture.CurrentFrame() == 2; }));
    EXPECT_EQ(Rgb(picture.Surface(), 3, 3), kBlue);
    EXPECT_EQ(Rgb(picture.Surface(), 0, 2), kGreen);
    ASSERT_TRUE(WaitFor([&] { return picture.CurrentFrame() == 0; }));
    const QImage& s = picture.Surface();
    EXPECT_EQ(Rgb(s, 3, 3), background) << "the whole surface is cleared after the last frame";
    EXPECT_EQ(Rgb(s, 0, 2), background);
    EXPECT_EQ(Rgb(s, 0, 0), kRed);
}

// What a frame changes is all that is repainted (and so sent to the display).
TEST(AnimatedPictureWidget, AFrameRepaintsOnlyThePixelsItChanges) {
    struct Recording : CAnimatedPicture {
        using CAnimatedPicture::CAnimatedPicture;
        std::vector<QRect> painted;
        void paintEvent(QPaintEvent* event) override {
            painted.push_back(event->rect());
            CAnimatedPicture::paintEvent(event);
        }
    };
    Bytes dotted(36, 0); // red, with one blue pixel at (4, 1)
    dotted[1 * 6 + 4] = 2;
    Bytes spotted = dotted; // and green pixels that widen the rectangle row by row
    spotted[2 * 6 + 3] = spotted[3 * 6 + 5] = spotted[4 * 6 + 0] = 1;
    GifBuilder gif;
    gif.Header(6, 6, 2, kColours)
        .Looping()
        .Control(20, 1)
        .Fill(0, 0, 6, 6, 0)
        .Control(20, 1)
        .Image(0, 0, 6, 6, dotted)
        .Control(20, 1)
        .Image(0, 0, 6, 6, dotted) // the same again: nothing changes
        .Control(20, 1)
        .Image(0, 0, 6, 6, spotted)
        .Trailer();
    QWidget face;
    face.resize(40, 40);
    auto* picture = new Recording(&face);
    ASSERT_TRUE(picture->LoadFromMemory(ToBytes(gif)));
    face.show();
    ASSERT_TRUE(picture->Draw());
    Pump(60);
    picture->painted.clear();
    // The last step goes back to the first frame over a surface filled with
    // the background, which that frame covers whole: only the dots go.
    const std::vector<QRect> expected[] = {
        {QRect(4, 1, 1, 1)}, {}, {QRect(0, 2, 6, 3)}, {QRect(0, 1, 6, 4)}};
    for (size_t step = 1; step <= 4; ++step) {
        ASSERT_TRUE(WaitFor([&] { return picture->CurrentFrame() == step % 4; }));
        Pump(40);
        EXPECT_EQ(picture->painted, expected[step - 1]) << "step " << step;
        picture->painted.clear();
        if (step == 3) {
            EXPECT_EQ(Rgb(picture->Surface(), 4, 1), kBlue);
            EXPECT_EQ(Rgb(picture->Surface(), 5, 3), kGreen);
            EXPECT_EQ(Rgb(picture->Surface(), 0, 4), kGreen);
        }
    }
    EXPECT_EQ(picture->Surface(), picture->Frames()[0].Picture) << "all red again";
    EXPECT_EQ(picture->grab().toImage().convertToFormat(QImage::Format_RGB32),
              picture->Surface().convertToFormat(QImage::Format_RGB32));
}

TEST(AnimatedPictureWidget, BadDataFailsOrSkipsFramesWithoutHarm) {
    const QByteArray shipped = ShippedPicture();
    ASSERT_FALSE(shipped.isEmpty());
    // The shipped picture cut a few bytes into its third frame.
    QByteArray twoFrames;
    {
        const auto* bytes = reinterpret_cast<const uint8_t*>(shipped.constData());
        const size_t size = static_cast<size_t>(shipped.size());
        const auto screen = ReadGifScreen(bytes, size);
        ASSERT_TRUE(screen);
        GifBlockWalk walk(bytes, size, *screen);
        ASSERT_TRUE(walk.SkipGraphicBlock() && walk.SkipGraphicBlock());
        twoFrames = shipped.left(static_cast<qsizetype>(walk.Offset()) + 20);
    }
    GifBuilder undecodable;
    undecodable.Header(4, 4, 2, kColours)
        .Control(5, 1)
        .Fill(0, 0, 4, 4, 0)
        .Control(5, 1)
        .Raw({0x2C, 0, 0, 0, 0, 4, 0, 4, 0, 0, 2})
        .SubBlocks({0xFF, 0xFF, 0xFF, 0xFF})
        .Control(5, 1)
        .Fill(0, 0, 4, 4, 1)
        .Trailer();
    GifBuilder emptyScreen;
    emptyScreen.Header(0, 0, 2, kColours).Fill(0, 0, 1, 1, 0).Trailer();
    GifBuilder hugeScreen;
    hugeScreen.Header(60000, 60000, 2, kColours).Fill(0, 0, 1, 1, 0).Fill(0, 0, 1, 1, 1).Trailer();
    GifBuilder noFrames;
    noFrames.Header(4, 4, 2, kColours).Looping().Comment("nothing else").Trailer();
    struct Case {
        const char* why;
        QByteArray data;
        bool loads;
        size_t frames;
    };
    const Case cases[] = {
        {"frame that cannot be decoded is left out", ToBytes(undecodable), true, 2},
        {"cut in the third frame", twoFrames, true, 2},
        {"cut inside the first frame", shipped.left(900), false, 0},
        {"header only", shipped.left(13), false, 0},
        {"empty screen", ToBytes(emptyScreen), false, 0},
        {"huge screen", ToBytes(hugeScreen), false, 0},
        {"no graphic block", ToBytes(noFrames), false, 0},
        {"not a picture", QByteArray("just some text"), false, 0},
        {"nothing", QByteArray(), false, 0},
    };
    for (const Case& c : cases) {
        CAnimatedPicture picture;
        EXPECT_EQ(picture.LoadFromMemory(c.data), c.loads) << c.why;
        EXPECT_EQ(picture.Frames().size(), c.frames) << c.why;
        EXPECT_EQ(picture.Surface().isNull(), !c.loads) << c.why;
        EXPECT_EQ(picture.Draw(), c.loads) << c.why;
    }
}

TEST(AnimatedPictureWidget, StillPicturesAreDrawnWithoutAClock) {
    // A PNG stored at 192 dpi is shown at its physical size on a 96 dpi screen.
    QImage png(40, 20, QImage::Format_RGB32);
    png.fill(QColor(10, 200, 30));
    png.setDotsPerMeterX(7559);
    png.setDotsPerMeterY(7559);
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(png.save(&buffer, "PNG"));
    GifBuilder single;
    single.Header(5, 3, 2, kColours).Looping().Control(5, 1).Fill(1, 1, 2, 1, 2).Trailer();

    Window window;
    CAnimatedPicture& picture = *window.picture;
    window.face.show();
    ASSERT_TRUE(picture.LoadFromMemory(encoded));
    EXPECT_FALSE(picture.IsGif());
    EXPECT_EQ(picture.size(),
              QSize(20 * picture.logicalDpiX() / 96, 10 * picture.logicalDpiY() / 96));
    ASSERT_TRUE(picture.Draw());
    EXPECT_EQ(picture.RemainingMs(), -1);
    EXPECT_EQ(Rgb(picture.Surface(), 5, 5), 0x0AC81Eu);

    ASSERT_TRUE(picture.LoadFromMemory(ToBytes(single)));
    EXPECT_TRUE(picture.IsGif());
    EXPECT_TRUE(picture.Frames().empty()) << "one image is a still picture";
    EXPECT_EQ(picture.size(), QSize(5, 3)) << "the logical screen's size";
    ASSERT_TRUE(picture.Draw());
    EXPECT_EQ(picture.RemainingMs(), -1);
    EXPECT_EQ(Rgb(picture.Surface(), 1, 1), kBlue);

    picture.Unload();
    EXPECT_TRUE(picture.Surface().isNull());
    EXPECT_FALSE(picture.Draw());
}

} // namespace
} // namespace sentinax
