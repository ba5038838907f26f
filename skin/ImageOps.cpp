#include "ImageOps.h"

#include "MaskScan.h"

#include "hardware/RegularFile.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QPainter>
#include <vector>

namespace sentinax {

bool LoadImageFile(const std::string& path, QImage& image, std::string* why) {
    auto fail = [&](std::string reason) {
        if (why)
            *why = std::move(reason);
        return false;
    };
    std::string bytes;
    const FileCheck check = ReadRegularFile(path, kMaxImageFileBytes, bytes);
    if (!check.Ok())
        return fail(check.Why);
    QByteArray data = QByteArray::fromStdString(bytes);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > kMaxImageSide || size.height() > kMaxImageSide))
        return fail("is " + std::to_string(size.width()) + " x " + std::to_string(size.height()) +
                    " pixels, more than " + std::to_string(kMaxImageSide) + " on a side");
    QImage decoded;
    if (!reader.read(&decoded) || decoded.isNull())
        return fail("cannot be decoded (" + reader.errorString().toStdString() + ")");
    if (decoded.width() > kMaxImageSide || decoded.height() > kMaxImageSide)
        return fail("is larger than " + std::to_string(kMaxImageSide) + " pixels on a side");
    image = decoded.convertToFormat(decoded.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                              : QImage::Format_RGB32);
    return true;
}

void DrawImage(QPainter& surface, const QImage& image, int left, int top, int right, int bottom) {
    if (image.isNull())
        return;
    const QRect source(0, 0, right - left, bottom - top);
    surface.drawImage(QPoint(left, top), image, source);
}

void CropImage(const QImage& source, QImage& target, int left, int top, int right, int bottom) {
    if (source.isNull())
        return;
    // copy() fills what lies outside the source with zeros.
    target = source.copy(left, top, std::max(right - left, 0), std::max(bottom - top, 0));
}

std::optional<QRegion> BitmapToRegion(const QImage& image, uint32_t key, uint32_t tolerance) {
    if (image.isNull())
        return std::nullopt;
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    if (pixels.isNull())
        return std::nullopt;
    QRegion result;
    bool first = true;
    std::vector<QRect> rects;
    const MaskPixels view{pixels.constBits(), pixels.width(), pixels.height(),
                          static_cast<std::size_t>(pixels.bytesPerLine())};
    ScanMask(view, key, tolerance, [&](const RegionData& block) {
        // The same pixels as the block's one-pixel-high runs, but a row whose
        // runs repeat the row above only makes that band taller: a mask's
        // region then holds a few dozen rectangles instead of one per row,
        // which every clip of every repaint of the window goes through.
        rects.clear();
        std::size_t previousBand = 0, band = 0;
        auto closeBand = [&] {
            const std::size_t n = rects.size() - band;
            bool repeats = band > previousBand && band - previousBand == n &&
                           rects[previousBand].bottom() + 1 == rects[band].top();
            for (std::size_t i = 0; repeats && i < n; ++i)
                repeats = rects[previousBand + i].left() == rects[band + i].left() &&
                          rects[previousBand + i].right() == rects[band + i].right();
            if (repeats) {
                for (std::size_t i = 0; i < n; ++i)
                    rects[previousBand + i].setBottom(rects[band + i].bottom());
                rects.resize(band);
            } else {
                previousBand = band;
                band = rects.size();
            }
        };
        for (const RegionRect& r : block.Rects) {
            if (!rects.empty() && band < rects.size() && rects[band].top() != r.Top)
                closeBand();
            rects.emplace_back(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
        }
        if (band < rects.size())
            closeBand();
        QRegion chunk;
        chunk.setRects(rects.data(), static_cast<int>(rects.size()));
        result = first ? chunk : result.united(chunk);
        first = false;
    });
    return result;
}

QImage MaskedFace(const QImage& face, const QRegion& region) {
    if (face.isNull())
        return QImage();
    QImage blended(face.size(), QImage::Format_ARGB32_Premultiplied);
    blended.fill(Qt::transparent);
    QPainter painter(&blended);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setClipRegion(region);
    painter.drawImage(0, 0, face);
    return blended;
}

} // namespace sentinax
