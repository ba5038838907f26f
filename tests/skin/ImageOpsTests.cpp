// The image operations on real pictures: decoding failures, cutting past the
// edges, and the window region of a mask compared with one made pixel by pixel.
#include "skin/ImageOps.h"
#include "skin/MaskScan.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace sentinax {
namespace {

// The region of a mask's non-white pixels, one pixel at a time.
QRegion PixelByPixel(const QImage& mask) {
    QRegion region;
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x)
            if ((mask.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                region += QRect(x, y, 1, 1);
    return region;
}

TEST(ImageOps, MaskRegionsHoldExactlyTheNonWhitePixels) {
    QImage rounded(120, 90, QImage::Format_RGB32);
    rounded.fill(Qt::white);
    {
        QPainter p(&rounded);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawRoundedRect(QRect(0, 0, 120, 90), 20, 20);
        p.fillRect(QRect(40, 30, 20, 10), Qt::white);            // a hole
        p.fillRect(QRect(119, 50, 1, 5), QColor(255, 255, 254)); // off-white at the right edge
    }
    // 3,000 runs: more than one block of 2,000.
    QImage striped(100, 60, QImage::Format_RGB32);
    striped.fill(Qt::white);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 100; x += 2)
            striped.setPixel(x, y, 0xFF000000);
    QImage white(30, 20, QImage::Format_RGB32);
    white.fill(Qt::white);
    for (const QImage* mask : {&rounded, &striped, &white}) {
        const std::optional<QRegion> region = BitmapToRegion(*mask, kMaskKey, kMaskTolerance);
        ASSERT_TRUE(region.has_value());
        const QRegion expected = PixelByPixel(*mask);
        EXPECT_TRUE(region->xored(expected).isEmpty()) << "the same pixels";
        EXPECT_EQ(region->isEmpty(), mask == &white);
    }
    const std::optional<QRegion> region = BitmapToRegion(rounded, kMaskKey, kMaskTolerance);
    EXPECT_TRUE(region->contains(QPoint(119, 52))) << "only pure white is outside";
    EXPECT_LT(region->rectCount(), 60) << "rows alike share one band";
    EXPECT_FALSE(BitmapToRegion(QImage(), kMaskKey, kMaskTolerance).has_value());
}

// The face a compositor blends: every pixel of the mask's region is the face's
// own and opaque, every other one fully transparent (the desktop shows there).
TEST(ImageOps, TheBlendedFaceIsOpaqueInsideTheMaskAndClearOutside) {
    QImage mask(64, 48, QImage::Format_RGB32);
    mask.fill(Qt::white);
    {
        QPainter p(&mask);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawRoundedRect(QRect(0, 0, 64, 48), 12, 12);
    }
    QImage face(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            face.setPixel(x, y, qRgb(x * 4, y * 5, 90)); // no two columns alike
    const QRegion region = *BitmapToRegion(mask, kMaskKey, kMaskTolerance);
    const QImage blended = MaskedFace(face, region);
    ASSERT_EQ(blended.size(), face.size());
    int inside = 0;
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 64; ++x) {
            const QRgb got = blended.pixel(x, y);
            if (region.contains(QPoint(x, y))) {
                ++inside;
                ASSERT_EQ(got, face.pixel(x, y)) << x << "," << y;
            } else {
                ASSERT_EQ(qAlpha(got), 0) << x << "," << y << " must let the desktop through";
            }
        }
    }
    EXPECT_GT(inside, 64 * 48 * 9 / 10);
    EXPECT_LT(inside, 64 * 48) << "the corners are cut";
    EXPECT_TRUE(MaskedFace(QImage(), region).isNull());
}

TEST(ImageOps, CuttingPastTheEdgeGivesBlackAndAnEmptySourceChangesNothing) {
    QImage source(10, 10, QImage::Format_RGB32);
    source.fill(Qt::red);
    QImage target;
    CropImage(source, target, 8, 8, 12, 12);
    ASSERT_EQ(target.size(), QSize(4, 4));
    EXPECT_EQ(target.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(target.pixel(3, 3) & 0xFFFFFF, 0u);
    CropImage(QImage(), target, 0, 0, 2, 2);
    EXPECT_EQ(target.size(), QSize(4, 4));
}

TEST(ImageOps, UnreadablePicturesLeaveTheImageAndSayWhy) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "sx-imageops";
    std::filesystem::create_directories(dir);
    QImage good(6, 4, QImage::Format_RGB32);
    good.fill(Qt::blue);
    ASSERT_TRUE(good.save(QString::fromStdString((dir / "good.png").string())));
    std::ifstream in(dir / "good.png", std::ios::binary);
    const std::string png{std::istreambuf_iterator<char>(in), {}};
    std::ofstream(dir / "cut.png", std::ios::binary) << png.substr(0, png.size() / 2);
    std::ofstream(dir / "text.jpg", std::ios::binary) << "not a picture";
    std::filesystem::create_directories(dir / "folder.png");
    struct Case {
        const char* file;
        const char* why;
    } cases[] = {
        {"missing.png", "does not exist"},
        {"cut.png", "cannot be decoded"},
        {"text.jpg", "cannot be decoded"},
        {"folder.png", "is a directory"},
    };
    for (const Case& c : cases) {
        QImage image(2, 2, QImage::Format_RGB32);
        std::string why;
        EXPECT_FALSE(LoadImageFile((dir / c.file).string(), image, &why)) << c.file;
        EXPECT_NE(why.find(c.why), std::string::npos) << c.file << ": " << why;
        EXPECT_EQ(image.size(), QSize(2, 2)) << "left as it was";
    }
    QImage image;
    EXPECT_TRUE(LoadImageFile((dir / "good.png").string(), image));
    EXPECT_EQ(image.size(), QSize(6, 4));
    EXPECT_EQ(image.format(), QImage::Format_RGB32);
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace sentinax
