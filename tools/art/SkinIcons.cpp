#include "SkinIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace sentinax::art {

namespace {

void Menu(QPainter& p, const QRectF& b, const QColor& c) {
    p.setPen(QPen(c, 1.6, Qt::SolidLine, Qt::RoundCap));
    const qreal w = std::min(b.width(), 10.0);
    const qreal x0 = b.center().x() - w / 2, x1 = x0 + w;
    for (int i = -1; i <= 1; ++i) {
        const qreal y = std::round(b.center().y()) + 0.5 + i * 3.5;
        p.drawLine(QPointF(x0, y), QPointF(x1, y));
    }
}

void Help(QPainter& p, const QRectF& b, const QColor& c) {
    QPainterPath q;
    const QPointF m = b.center();
    q.moveTo(m + QPointF(-3.2, -2.6));
    q.cubicTo(m + QPointF(-3.2, -6.6), m + QPointF(3.6, -6.6), m + QPointF(3.4, -2.8));
    q.cubicTo(m + QPointF(3.2, -0.6), m + QPointF(0, -0.4), m + QPointF(0, 2.0));
    p.setPen(QPen(c, 1.7, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(q);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(m + QPointF(0, 4.6), 1.1, 1.1);
}

void Minimise(QPainter& p, const QRectF& b, const QColor& c) {
    p.setPen(QPen(c, 2, Qt::SolidLine, Qt::RoundCap));
    const QPointF m = b.center();
    p.drawLine(m + QPointF(-4.5, 3.5), m + QPointF(4.5, 3.5));
}

void Exit(QPainter& p, const QRectF& b, const QColor& c) {
    p.setPen(QPen(c, 1.9, Qt::SolidLine, Qt::RoundCap));
    const QPointF m = b.center();
    p.drawLine(m + QPointF(-3.8, -3.8), m + QPointF(3.8, 3.8));
    p.drawLine(m + QPointF(-3.8, 3.8), m + QPointF(3.8, -3.8));
}

void Thermometer(QPainter& p, const QRectF& b, const QColor& c) {
    const QPointF m = b.center();
    const qreal h = b.height();
    const QPointF bulb = m + QPointF(0, h * 0.26);
    QPainterPath tube;
    tube.addRoundedRect(QRectF(m.x() - 2.2, b.top() + h * 0.08, 4.4, h * 0.62), 2.2, 2.2);
    tube.addEllipse(bulb, 3.6, 3.6);
    p.setPen(QPen(c, 1.1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tube.simplified());
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(bulb, 2.1, 2.1);
    p.drawRect(QRectF(m.x() - 0.8, m.y() - h * 0.12, 1.6, h * 0.36));
}

void Snowflake(QPainter& p, const QRectF& b, const QColor& c) {
    const QPointF m = b.center();
    const qreal r = std::min(b.width(), b.height()) * 0.45;
    p.setPen(QPen(c, 1.3, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 3; ++i) {
        const qreal a = qDegreesToRadians(90.0 + 60.0 * i);
        const QPointF d(std::cos(a) * r, -std::sin(a) * r);
        p.drawLine(m - d, m + d);
        for (int s : {-1, 1}) {
            const QPointF tip = m + d * s;
            const QPointF along = d * s * 0.45;
            const QPointF side(-along.y(), along.x());
            const QPointF base = m + d * s * 0.55;
            p.drawLine(base, base + along * 0.55 + side * 0.55);
            p.drawLine(base, base + along * 0.55 - side * 0.55);
            (void)tip;
        }
    }
}

void Bolt(QPainter& p, const QRectF& b, const QColor& c) {
    const qreal w = b.width(), h = b.height();
    QPolygonF bolt;
    bolt << QPointF(0.58, 0.0) << QPointF(0.18, 0.56) << QPointF(0.46, 0.56) << QPointF(0.36, 1.0)
         << QPointF(0.82, 0.40) << QPointF(0.54, 0.40) << QPointF(0.70, 0.0);
    for (QPointF& pt : bolt)
        pt = QPointF(b.left() + pt.x() * w, b.top() + pt.y() * h);
    p.setPen(QPen(c.darker(170), 1));
    p.setBrush(c);
    p.drawPolygon(bolt);
}

void Fan(QPainter& p, const QRectF& b, const QColor& c) {
    const QPointF m = b.center();
    const qreal r = std::min(b.width(), b.height()) / 2;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(c, 1.4));
    p.drawEllipse(m, r - 1, r - 1);
    QColor ring = c;
    ring.setAlpha(110);
    p.setPen(QPen(ring, 1));
    p.drawEllipse(m, r * 0.78, r * 0.78);
    // Five swept blades.
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    for (int i = 0; i < 5; ++i) {
        p.save();
        p.translate(m);
        p.rotate(72.0 * i);
        QPainterPath blade;
        blade.moveTo(0, -r * 0.18);
        blade.cubicTo(r * 0.35, -r * 0.30, r * 0.55, -r * 0.55, r * 0.30, -r * 0.72);
        blade.cubicTo(r * 0.10, -r * 0.55, -r * 0.05, -r * 0.38, 0, -r * 0.18);
        p.drawPath(blade);
        p.restore();
    }
    p.setBrush(c.darker(140));
    p.drawEllipse(m, r * 0.17, r * 0.17);
}

void Emblem(QPainter& p, const QRectF& b, const QColor& c) {
    const QPointF m = b.center();
    const qreal r = std::min(b.width(), b.height()) / 2 - 0.5;
    QPolygonF hex;
    for (int i = 0; i < 6; ++i) {
        const qreal a = qDegreesToRadians(30.0 + 60.0 * i);
        hex << m + QPointF(std::cos(a) * r, std::sin(a) * r);
    }
    p.setPen(QPen(c, 1.3));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(hex);
    QPolygonF pulse;
    pulse << m + QPointF(-r * 0.62, 0) << m + QPointF(-r * 0.22, 0)
          << m + QPointF(-r * 0.05, -r * 0.5) << m + QPointF(r * 0.15, r * 0.45)
          << m + QPointF(r * 0.30, 0) << m + QPointF(r * 0.62, 0);
    p.setPen(QPen(c, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(pulse);
}

} // namespace

void DrawIcon(QPainter& p, SkinIcon icon, const QRectF& box, const QColor& colour) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    switch (icon) {
    case SkinIcon::Menu:
        Menu(p, box, colour);
        break;
    case SkinIcon::Help:
        Help(p, box, colour);
        break;
    case SkinIcon::Minimise:
        Minimise(p, box, colour);
        break;
    case SkinIcon::Exit:
        Exit(p, box, colour);
        break;
    case SkinIcon::Thermometer:
        Thermometer(p, box, colour);
        break;
    case SkinIcon::Snowflake:
        Snowflake(p, box, colour);
        break;
    case SkinIcon::Bolt:
        Bolt(p, box, colour);
        break;
    case SkinIcon::Fan:
        Fan(p, box, colour);
        break;
    case SkinIcon::Emblem:
        Emblem(p, box, colour);
        break;
    }
    p.restore();
}

} // namespace sentinax::art
