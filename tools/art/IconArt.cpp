// The program's icon: a dark steel-blue instrument dial with a cyan ring and a
// green pulse line, in the sizes of the hicolor icon theme.
#include "ArtTargets.h"

#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdio>

namespace sentinax::art {

namespace {

QImage DrawIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);
    // Small icons get thicker strokes so they stay readable.
    const double weight = size <= 24 ? 2.2 : size <= 48 ? 1.5 : 1.0;

    const QRectF body(8, 8, 240, 240);
    QLinearGradient plate(body.topLeft(), body.bottomLeft());
    plate.setColorAt(0, QColor(58, 82, 104));
    plate.setColorAt(1, QColor(20, 32, 46));
    p.setPen(QPen(QColor(10, 16, 24), 6));
    p.setBrush(plate);
    p.drawRoundedRect(body, 52, 52);

    const QRectF dial(34, 34, 188, 188);
    QRadialGradient well(dial.center(), 94);
    well.setColorAt(0, QColor(16, 40, 56));
    well.setColorAt(1, QColor(6, 14, 22));
    p.setPen(QPen(QColor(64, 208, 232), 10 * weight));
    p.setBrush(well);
    p.drawEllipse(dial);

    QPainterPath pulse;
    pulse.moveTo(54, 140);
    pulse.lineTo(98, 140);
    pulse.lineTo(116, 78);
    pulse.lineTo(142, 186);
    pulse.lineTo(160, 122);
    pulse.lineTo(172, 140);
    pulse.lineTo(202, 140);
    p.setPen(QPen(QColor(118, 255, 150), 16 * weight, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(pulse);
    return image;
}

} // namespace

bool DrawIconArt(const QString& resourceDir) {
    bool ok = true;
    for (int size : kIconSizes) {
        const QString folder =
            QStringLiteral("%1/icons/hicolor/%2x%2/apps").arg(resourceDir).arg(size);
        const QString file = folder + QStringLiteral("/sentinax4.png");
        if (!QDir().mkpath(folder) || !DrawIcon(size).save(file, "PNG")) {
            std::fprintf(stderr, "sentinax-art: cannot write %s\n", qPrintable(file));
            ok = false;
        }
    }
    return ok;
}

} // namespace sentinax::art
