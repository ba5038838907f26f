#include "SkinPaint.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <cmath>
#include <cstdint>

namespace sentinax::art {

namespace {

// A small fixed pseudo-random sequence: the grain must be the same on every
// build.
struct Grain {
    uint32_t state = 0x5EA7A11u;
    uint32_t Next() {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
    // -1 .. 1
    double Signed() { return static_cast<double>(Next() % 2001) / 1000.0 - 1.0; }
};

QColor Mix(const QColor& a, const QColor& b, double t) {
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t));
}

QPointF Towards(QPointF from, QPointF to, qreal distance) {
    const QPointF d = to - from;
    const qreal length = std::hypot(d.x(), d.y());
    if (length <= 0)
        return from;
    return from + d * (std::min(distance, length / 2) / length);
}

} // namespace

QPainterPath RoundedPolygon(const QPolygonF& corners, const QList<qreal>& radii) {
    QPainterPath path;
    const int n = static_cast<int>(corners.size());
    for (int i = 0; i < n; ++i) {
        const QPointF prev = corners[(i + n - 1) % n];
        const QPointF at = corners[i];
        const QPointF next = corners[(i + 1) % n];
        const qreal r = i < radii.size() ? radii[i] : 0;
        const QPointF in = Towards(at, prev, r);
        const QPointF out = Towards(at, next, r);
        if (i == 0)
            path.moveTo(in);
        else
            path.lineTo(in);
        if (r > 0) {
            // A cubic through the corner's tangents: close to a circular arc.
            const qreal k = 0.5523;
            path.cubicTo(in + (at - in) * k, out + (at - out) * k, out);
        }
    }
    path.closeSubpath();
    return path;
}

void FillPanel(QPainter& p, const QPainterPath& outline, const SkinTheme& theme, int height) {
    p.save();
    p.setClipPath(outline);
    QLinearGradient body(0, 0, 0, height);
    body.setColorAt(0, theme.BodyTop);
    body.setColorAt(0.45, Mix(theme.BodyTop, theme.BodyBottom, 0.55));
    body.setColorAt(1, theme.BodyBottom);
    p.fillPath(outline, body);
    // Brushed grain: faint horizontal streaks of varying length.
    Grain grain;
    const QRectF box = outline.boundingRect();
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int y = static_cast<int>(box.top()); y < box.bottom(); ++y) {
        for (int k = 0; k < 6; ++k) {
            const double x = box.left() + (grain.Next() % 1000) / 1000.0 * box.width();
            const double length = 20 + (grain.Next() % 140);
            const double v = grain.Signed();
            const QColor c = v > 0 ? QColor(255, 255, 255, static_cast<int>(5 + 7 * v))
                                   : QColor(0, 0, 0, static_cast<int>(6 - 9 * v));
            p.fillRect(QRectF(x, y, length, 1), c);
        }
    }
    p.setRenderHint(QPainter::Antialiasing, true);
    // A soft sheen across the upper third.
    QLinearGradient sheen(0, 0, 0, height * 0.4);
    sheen.setColorAt(0, QColor(255, 255, 255, 26));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(box, sheen);
    p.restore();
}

void RaisedRim(QPainter& p, const QPainterPath& outline) {
    p.save();
    p.setClipPath(outline);
    const QRectF box = outline.boundingRect();
    QLinearGradient rim(box.topLeft(), box.bottomRight());
    rim.setColorAt(0, QColor(255, 255, 255, 90));
    rim.setColorAt(0.5, QColor(255, 255, 255, 18));
    rim.setColorAt(1, QColor(0, 0, 0, 120));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(rim), 3));
    p.drawPath(outline);
    p.restore();
}

void Bay(QPainter& p, const QRectF& rect, const SkinTheme& theme, qreal radius) {
    p.save();
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    // The light catches the lower and right lip.
    QPainterPath lip;
    lip.addRoundedRect(rect.adjusted(-1, -1, 1, 1), radius + 1, radius + 1);
    QLinearGradient lipShade(rect.topLeft(), rect.bottomRight());
    lipShade.setColorAt(0, QColor(0, 0, 0, 110));
    lipShade.setColorAt(0.6, QColor(0, 0, 0, 40));
    lipShade.setColorAt(1, QColor(255, 255, 255, 70));
    p.fillPath(lip, lipShade);
    QLinearGradient floor(rect.topLeft(), rect.bottomLeft());
    floor.setColorAt(0, theme.BayTop);
    floor.setColorAt(1, theme.BayBottom);
    p.fillPath(path, floor);
    // Inner shadow along the top and left edges.
    p.setClipPath(path);
    QLinearGradient top(rect.topLeft(), rect.topLeft() + QPointF(0, 6));
    top.setColorAt(0, QColor(0, 0, 0, 110));
    top.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(rect, top);
    QLinearGradient left(rect.topLeft(), rect.topLeft() + QPointF(5, 0));
    left.setColorAt(0, QColor(0, 0, 0, 80));
    left.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(rect, left);
    p.restore();
}

void Well(QPainter& p, const QRect& rect) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    const QRect outer = rect.adjusted(-3, -3, 3, 3);
    // Bezel: a dark chamfer above and left, a light one below and right.
    p.fillRect(outer, QColor(8, 10, 14));
    p.setPen(QColor(0, 0, 0, 200));
    p.drawLine(outer.topLeft(), outer.topRight());
    p.drawLine(outer.topLeft(), outer.bottomLeft());
    p.setPen(QColor(255, 255, 255, 70));
    p.drawLine(outer.bottomLeft() + QPoint(1, 0), outer.bottomRight());
    p.drawLine(outer.topRight() + QPoint(0, 1), outer.bottomRight());
    p.setPen(QColor(70, 90, 110));
    p.drawRect(rect.adjusted(-1, -1, 0, 0));
    p.fillRect(rect, Qt::black);
    p.restore();
}

void Groove(QPainter& p, qreal x0, qreal x1, qreal y) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(0, 0, 0, 150));
    p.drawLine(QPointF(x0, y), QPointF(x1, y));
    p.setPen(QColor(255, 255, 255, 45));
    p.drawLine(QPointF(x0, y + 1), QPointF(x1, y + 1));
    p.restore();
}

void VerticalGroove(QPainter& p, qreal x, qreal y0, qreal y1) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(0, 0, 0, 150));
    p.drawLine(QPointF(x, y0), QPointF(x, y1));
    p.setPen(QColor(255, 255, 255, 40));
    p.drawLine(QPointF(x + 1, y0), QPointF(x + 1, y1));
    p.restore();
}

QFont CaptionFont(qreal pixels, qreal spacing, bool bold, bool condensed) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(static_cast<int>(std::lround(pixels)));
    font.setBold(bold);
    if (condensed)
        font.setStretch(QFont::Condensed);
    font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

void Engraved(QPainter& p, const QRectF& rect, int flags, const QString& text, const QFont& font,
              const QColor& colour) {
    p.save();
    p.setFont(font);
    p.setPen(QColor(0, 0, 0, 170));
    p.drawText(rect.translated(0, -1), flags, text);
    p.setPen(QColor(255, 255, 255, 38));
    p.drawText(rect.translated(0, 1), flags, text);
    p.setPen(colour);
    p.drawText(rect, flags, text);
    p.restore();
}

void Screw(QPainter& p, QPointF c) {
    p.save();
    QRadialGradient head(c - QPointF(1.2, 1.2), 5);
    head.setColorAt(0, QColor(200, 210, 222));
    head.setColorAt(0.6, QColor(110, 122, 138));
    head.setColorAt(1, QColor(50, 58, 70));
    p.setPen(QPen(QColor(0, 0, 0, 150), 0.8));
    p.setBrush(head);
    p.drawEllipse(c, 3.6, 3.6);
    p.setPen(QPen(QColor(30, 36, 44), 1.1));
    p.drawLine(c + QPointF(-2, -2), c + QPointF(2, 2));
    p.drawLine(c + QPointF(-2, 2), c + QPointF(2, -2));
    p.restore();
}

void Lamp(QPainter& p, QPointF c, qreal radius, const QColor& colour) {
    p.save();
    QRadialGradient glow(c, radius * 3);
    QColor halo = colour;
    halo.setAlpha(90);
    glow.setColorAt(0, halo);
    halo.setAlpha(0);
    glow.setColorAt(1, halo);
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(c, radius * 3, radius * 3);
    QRadialGradient body(c - QPointF(radius * 0.35, radius * 0.35), radius);
    body.setColorAt(0, colour.lighter(170));
    body.setColorAt(0.5, colour);
    body.setColorAt(1, colour.darker(160));
    p.setBrush(body);
    p.setPen(QPen(QColor(0, 0, 0, 160), 0.8));
    p.drawEllipse(c, radius, radius);
    p.restore();
}

void AccentLine(QPainter& p, const QLineF& line, const QColor& colour, qreal width) {
    p.save();
    QColor glow = colour;
    glow.setAlpha(60);
    p.setPen(QPen(glow, width + 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(line);
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(line);
    p.restore();
}

} // namespace sentinax::art
