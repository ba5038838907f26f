// The main window's animated picture (a cooling fan turning in a recessed
// instrument well, its hub light pulsing) and the About box background, in
// the face's palette: dark steel blue with cyan and green accents.
#include "ArtTargets.h"
#include "GifEncoder.h"
#include "GifPalette.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QImageReader>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSaveFile>
#include <QtMath>
#include <cstdio>

namespace sentinax::art {

namespace {

constexpr int kPictureSide = 96;
constexpr int kFrames = 8;
constexpr int kFrameDelayCs = 5;
constexpr int kDisposal = 1; // leave the frame in place
constexpr int kBlades = 7;
// Each frame turns the rotor by 3/8 of the blade spacing: after eight frames
// it has turned three blades on, so the loop is seamless, and each step stays
// under half a spacing, so the eye sees it turning forwards.
constexpr double kStepDegrees = 360.0 / kBlades * 3.0 / 8.0;

constexpr int kAboutWidth = 428;
constexpr int kAboutHeight = 134;
constexpr int kAboutDivider = 186; // the credits scroll right of it (from x 194)

const QColor kPlateTop(42, 59, 80);
const QColor kPlateBottom(22, 33, 46);
const QColor kBevelLight(84, 110, 138);
const QColor kBevelDark(8, 13, 19);
const QColor kSteel(92, 122, 153);
const QColor kCyan(72, 214, 255);
const QColor kGreen(70, 255, 140);

QPointF Polar(double radius, double degrees) {
    const double r = qDegreesToRadians(degrees);
    return {radius * std::cos(r), radius * std::sin(r)};
}

void DrawScrew(QPainter& p, QPointF centre) {
    QRadialGradient head(centre + QPointF(-0.8, -0.8), 3.2);
    head.setColorAt(0, QColor(150, 170, 190));
    head.setColorAt(1, QColor(50, 66, 84));
    p.setPen(QPen(kBevelDark, 0.8));
    p.setBrush(head);
    p.drawEllipse(centre, 2.8, 2.8);
    p.setPen(QPen(QColor(30, 40, 52), 0.9));
    p.drawLine(centre + QPointF(-1.8, 1.2), centre + QPointF(1.8, -1.2));
}

void DrawPlate(QPainter& p, const QRectF& r) {
    QLinearGradient plate(r.topLeft(), r.bottomLeft());
    plate.setColorAt(0, kPlateTop);
    plate.setColorAt(1, kPlateBottom);
    p.fillRect(r, plate);
    p.setPen(QPen(kBevelLight, 1));
    p.drawLine(QPointF(r.left() + 0.5, r.bottom() - 0.5), QPointF(r.left() + 0.5, r.top() + 0.5));
    p.drawLine(QPointF(r.left() + 0.5, r.top() + 0.5), QPointF(r.right() - 0.5, r.top() + 0.5));
    p.setPen(QPen(kBevelDark, 1));
    p.drawLine(QPointF(r.right() - 0.5, r.top() + 0.5), QPointF(r.right() - 0.5, r.bottom() - 0.5));
    p.drawLine(QPointF(r.right() - 0.5, r.bottom() - 0.5),
               QPointF(r.left() + 0.5, r.bottom() - 0.5));
}

// One swept blade at angle 0, from the hub to the tip.
QPainterPath BladePath(double hub, double tip) {
    QPainterPath blade;
    blade.moveTo(Polar(hub, -16));
    blade.cubicTo(Polar(hub + (tip - hub) * 0.45, -18), Polar(tip * 0.92, -8), Polar(tip, 2));
    blade.cubicTo(Polar(tip * 1.02, 14), Polar(tip * 0.97, 24), Polar(tip * 0.9, 30));
    blade.cubicTo(Polar(hub + (tip - hub) * 0.55, 26), Polar(hub + 2, 18), Polar(hub, 16));
    blade.closeSubpath();
    return blade;
}

// The rotor: blades with a faint trail behind them, and the hub.
// opacity scales the whole rotor (1: solid).
void DrawRotor(QPainter& p, QPointF centre, double radius, double angle, double glow,
               double opacity = 1.0) {
    const double hub = radius * 0.3;
    const QPainterPath blade = BladePath(hub, radius);
    const double trail[] = {-9.0, -4.5, 0.0};
    const double passOpacity[] = {0.16, 0.32, 1.0};
    for (int pass = 0; pass < 3; ++pass) {
        p.setOpacity(opacity * passOpacity[pass]);
        for (int b = 0; b < kBlades; ++b) {
            p.save();
            p.translate(centre);
            p.rotate(angle + trail[pass] + b * 360.0 / kBlades);
            QLinearGradient face(Polar(hub, 0), Polar(radius, 20));
            face.setColorAt(0, QColor(62, 86, 112));
            face.setColorAt(0.6, QColor(118, 148, 178));
            face.setColorAt(1, QColor(150, 196, 226));
            p.setBrush(face);
            p.setPen(pass == 2 ? QPen(QColor(110, 225, 255, 170), 0.7) : Qt::NoPen);
            p.drawPath(blade);
            p.restore();
        }
    }
    p.setOpacity(opacity);
    QRadialGradient cap(centre + QPointF(-hub * 0.3, -hub * 0.3), hub * 1.2);
    cap.setColorAt(0, QColor(150, 172, 196));
    cap.setColorAt(1, QColor(36, 52, 70));
    p.setPen(QPen(QColor(14, 22, 32), 1));
    p.setBrush(cap);
    p.drawEllipse(centre, hub, hub);
    // The hub light: green, breathing once per loop.
    QColor light = kGreen;
    light.setAlphaF(0.35 + 0.65 * glow);
    QRadialGradient halo(centre, hub * 0.9);
    halo.setColorAt(0, light);
    halo.setColorAt(1, QColor(70, 255, 140, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(centre, hub * 0.9, hub * 0.9);
    p.setBrush(QColor(210, 255, 225, static_cast<int>(120 + 135 * glow)));
    p.drawEllipse(centre, hub * 0.22, hub * 0.22);
    p.setOpacity(1);
}

// The fan well: a recessed dark disc with a steel rim, a cyan inner ring and
// a scale of ticks around it.
void DrawWell(QPainter& p, QPointF centre, double radius) {
    QRadialGradient well(centre, radius);
    well.setColorAt(0, QColor(16, 28, 42));
    well.setColorAt(0.85, QColor(10, 18, 27));
    well.setColorAt(1, QColor(4, 8, 12));
    p.setPen(QPen(kSteel, 2));
    p.setBrush(well);
    p.drawEllipse(centre, radius, radius);
    QColor ring = kCyan;
    ring.setAlpha(150);
    p.setPen(QPen(ring, 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, radius - 2.5, radius - 2.5);
    for (int t = 0; t < 24; ++t) {
        QColor tick = t % 6 == 0 ? kCyan : QColor(120, 160, 190);
        tick.setAlpha(t % 6 == 0 ? 230 : 150);
        p.setPen(QPen(tick, t % 6 == 0 ? 1.4 : 1.0));
        const double a = t * 15.0 - 90;
        p.drawLine(centre + Polar(radius + 1.8, a),
                   centre + Polar(radius + (t % 6 == 0 ? 5 : 3.5), a));
    }
}

QImage FanFrame(int frame) {
    QImage image(kPictureSide, kPictureSide, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    DrawPlate(p, QRectF(0, 0, kPictureSide, kPictureSide));
    for (const QPointF screw : {QPointF(7, 7), QPointF(89, 7), QPointF(7, 89), QPointF(89, 89)})
        DrawScrew(p, screw);
    const QPointF centre(48, 48);
    DrawWell(p, centre, 40);
    const double glow = 0.5 + 0.5 * std::cos(2 * M_PI * frame / kFrames);
    DrawRotor(p, centre, 35, frame * kStepDegrees, glow);
    return image;
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        std::fprintf(stderr, "sentinax-art: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// Reads the written GIF back through Qt's reader and compares every pixel
// with the colour the frame was given, so a fault in the encoder fails the
// build instead of shipping a broken picture.
bool CheckGif(const QString& path, const std::vector<std::vector<uint8_t>>& frames,
              const std::vector<uint32_t>& palette) {
    QImageReader reader(path, "gif");
    const auto fail = [&](const char* why) {
        std::fprintf(stderr, "sentinax-art: %s: %s\n", qPrintable(path), why);
        return false;
    };
    if (reader.imageCount() != kFrames)
        return fail("wrong frame count");
    for (const auto& indices : frames) {
        const QImage image = reader.read().convertToFormat(QImage::Format_RGB32);
        if (image.size() != QSize(kPictureSide, kPictureSide))
            return fail("a frame does not decode");
        if (reader.nextImageDelay() != kFrameDelayCs * 10)
            return fail("wrong frame delay");
        for (int y = 0; y < kPictureSide; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < kPictureSide; ++x) {
                const uint32_t want = palette[indices[static_cast<size_t>(y * kPictureSide + x)]];
                if ((line[x] & 0xFFFFFF) != want)
                    return fail("a decoded pixel differs from the encoded one");
            }
        }
    }
    return true;
}

bool DrawAnimation(const QString& resourceDir) {
    std::vector<QImage> images;
    for (int f = 0; f < kFrames; ++f)
        images.push_back(FanFrame(f));
    const std::vector<uint32_t> palette = MedianCutPalette(images, 256);
    std::vector<GifFrameOut> frames;
    std::vector<std::vector<uint8_t>> indices;
    for (const QImage& image : images) {
        indices.push_back(MapToPalette(image, palette));
        frames.push_back({indices.back(), kFrameDelayCs, kDisposal});
    }
    const std::vector<uint8_t> gif = EncodeGif(kPictureSide, kPictureSide, palette, frames, true);
    const QString path = resourceDir + QStringLiteral("/picture129.gif");
    return WriteFile(path, QByteArray(reinterpret_cast<const char*>(gif.data()),
                                      static_cast<qsizetype>(gif.size()))) &&
           CheckGif(path, indices, palette);
}

// The pulse trace across the lower left panel: flat, a beat, flat.
QPainterPath PulsePath(double left, double right, double base) {
    QPainterPath path(QPointF(left, base));
    const double beats[] = {left + 34, left + 104};
    double x = left;
    for (const double beat : beats) {
        path.lineTo(beat - 10, base);
        path.quadTo(beat - 7, base - 4, beat - 4, base);
        path.lineTo(beat - 1, base + 4);
        path.lineTo(beat + 2, base - 20);
        path.lineTo(beat + 5, base + 7);
        path.lineTo(beat + 8, base);
        path.quadTo(beat + 13, base - 5, beat + 18, base);
        x = beat + 18;
    }
    path.lineTo(std::max(x, right), base);
    return path;
}

QImage AboutBackground() {
    QImage image(kAboutWidth, kAboutHeight, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    // Left: the instrument panel with the emblem, the name and a pulse trace.
    const QRectF panel(0, 0, kAboutDivider, kAboutHeight);
    DrawPlate(p, panel);
    p.setPen(QPen(QColor(72, 214, 255, 22), 1));
    for (int x = 12; x < kAboutDivider; x += 12)
        p.drawLine(QPointF(x + 0.5, 76), QPointF(x + 0.5, kAboutHeight - 8));
    for (int y = 80; y < kAboutHeight - 6; y += 12)
        p.drawLine(QPointF(6, y + 0.5), QPointF(kAboutDivider - 6, y + 0.5));
    const QPointF emblem(38, 40);
    DrawWell(p, emblem, 25);
    DrawRotor(p, emblem, 21, 12, 1.0);

    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(17);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(216, 244, 255));
    p.drawText(QPointF(74, 37), QStringLiteral("Sentinax"));
    const double nameWidth = QFontMetricsF(title).horizontalAdvance(QStringLiteral("Sentinax "));
    p.setPen(kCyan);
    p.drawText(QPointF(74 + nameWidth, 37), QStringLiteral("4"));
    QFont caption(QStringLiteral("DejaVu Sans"));
    caption.setPixelSize(8);
    caption.setLetterSpacing(QFont::AbsoluteSpacing, 0.6);
    p.setFont(caption);
    p.setPen(QColor(127, 179, 213));
    p.drawText(QPointF(75, 52), QStringLiteral("HARDWARE MONITOR"));

    const QPainterPath pulse = PulsePath(8, kAboutDivider - 8, 106);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(70, 255, 140, 60), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(pulse);
    p.setPen(QPen(kGreen, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(pulse);

    // The divider, then the light card the credits scroll over: the text is
    // ANDed onto it, so it stays light enough for black and blue letters.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(kAboutDivider, 0, 3, kAboutHeight), kBevelDark);
    p.fillRect(QRect(kAboutDivider + 1, 0, 1, kAboutHeight), kSteel);
    const QRectF card(kAboutDivider + 3, 0, kAboutWidth - kAboutDivider - 3, kAboutHeight);
    QLinearGradient light(card.topLeft(), card.bottomLeft());
    light.setColorAt(0, QColor(242, 246, 250));
    light.setColorAt(1, QColor(220, 230, 239));
    p.fillRect(card, light);
    p.setRenderHint(QPainter::Antialiasing);
    // A large faint fan outline behind the text.
    DrawRotor(p, QPointF(kAboutWidth - 38, kAboutHeight - 30), 58, 8, 0.0, 0.08);
    p.setPen(QPen(kBevelDark, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, kAboutWidth - 1, kAboutHeight - 1));
    return image;
}

bool DrawAbout(const QString& resourceDir) {
    const QString path = resourceDir + QStringLiteral("/about135.png");
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!AboutBackground().convertToFormat(QImage::Format_RGB888).save(&buffer, "PNG")) {
            std::fprintf(stderr, "sentinax-art: cannot encode %s\n", qPrintable(path));
            return false;
        }
    }
    return WriteFile(path, png);
}

} // namespace

bool DrawPictureArt(const QString& resourceDir) {
    const bool animation = DrawAnimation(resourceDir);
    const bool about = DrawAbout(resourceDir);
    return animation && about;
}

} // namespace sentinax::art
