#include "SkinButtons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace sentinax::art {

namespace {

const QColor kDanger(236, 84, 72);

QColor IconColour(const ArtButton& b, Look look, const SkinTheme& theme) {
    const QColor lit = b.Danger ? kDanger.lighter(115) : theme.Accent.lighter(115);
    switch (look) {
    case Look::Normal:
        return QColor(188, 204, 222);
    case Look::Over:
        return lit;
    case Look::Down:
        return b.Danger ? kDanger : theme.Accent;
    case Look::Disabled:
        break;
    }
    return QColor(92, 100, 112);
}

void Plate(QPainter& p, const QRectF& r, qreal radius, Look look, const SkinTheme& theme,
           bool danger) {
    QPainterPath shape;
    shape.addRoundedRect(r, radius, radius);
    const QColor tint = danger ? kDanger : theme.Accent;
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    switch (look) {
    case Look::Normal:
        fill.setColorAt(0, QColor(74, 90, 110));
        fill.setColorAt(0.5, QColor(50, 63, 80));
        fill.setColorAt(1, QColor(36, 46, 60));
        break;
    case Look::Over: {
        QColor top = QColor(74, 90, 110), bottom = QColor(36, 46, 60);
        fill.setColorAt(0, QColor((top.red() * 3 + tint.red()) / 4,
                                  (top.green() * 3 + tint.green()) / 4,
                                  (top.blue() * 3 + tint.blue()) / 4));
        fill.setColorAt(1, QColor((bottom.red() * 3 + tint.red()) / 4,
                                  (bottom.green() * 3 + tint.green()) / 4,
                                  (bottom.blue() * 3 + tint.blue()) / 4));
        break;
    }
    case Look::Down:
        fill.setColorAt(0, QColor(16, 22, 30));
        fill.setColorAt(1, QColor(40, 52, 66));
        break;
    case Look::Disabled:
        fill.setColorAt(0, QColor(52, 58, 66));
        fill.setColorAt(1, QColor(44, 49, 56));
        break;
    }
    // A dark seat around the plate.
    QPainterPath seat;
    seat.addRoundedRect(r.adjusted(-1, -1, 1, 1), radius + 1, radius + 1);
    p.fillPath(seat, QColor(6, 8, 12, 200));
    p.fillPath(shape, fill);
    if (look == Look::Over) {
        QRadialGradient glow(r.center(), r.width() * 0.7);
        QColor g = tint;
        g.setAlpha(70);
        glow.setColorAt(0, g);
        g.setAlpha(0);
        glow.setColorAt(1, g);
        p.fillPath(shape, glow);
    }
    p.setBrush(Qt::NoBrush);
    if (look == Look::Down) {
        p.setPen(QPen(QColor(0, 0, 0, 170), 1));
        p.drawLine(r.topLeft() + QPointF(radius, 0.5), r.topRight() + QPointF(-radius, 0.5));
    } else if (look != Look::Disabled) {
        p.setPen(QPen(QColor(255, 255, 255, look == Look::Over ? 110 : 70), 1));
        p.drawLine(r.topLeft() + QPointF(radius, 0.5), r.topRight() + QPointF(-radius, 0.5));
    }
    QColor border = look == Look::Over ? tint : QColor(10, 14, 20);
    if (look == Look::Over)
        border.setAlpha(200);
    p.setPen(QPen(border, 1));
    p.drawPath(shape);
}

void Logo(QPainter& p, const ArtButton& b, const SkinTheme& theme) {
    const QRectF r = QRectF(b.Place).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath shape;
    shape.addRoundedRect(r, 5, 5);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, QColor(30, 38, 50));
    fill.setColorAt(1, QColor(14, 18, 26));
    QPainterPath lip;
    lip.addRoundedRect(r.adjusted(-1, -1, 1, 1), 6, 6);
    p.fillPath(lip, QColor(255, 255, 255, 40));
    p.fillPath(shape, fill);
    p.setPen(QPen(QColor(0, 0, 0, 180), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape);
    DrawIcon(p, SkinIcon::Emblem, QRectF(r.left() + 6, r.top() + 4, 18, 18), theme.Accent);
    Engraved(p, QRectF(r.left() + 29, r.top(), r.width() - 32, r.height()),
             Qt::AlignLeft | Qt::AlignVCenter, b.Label, CaptionFont(12, 2.4),
             QColor(214, 226, 238));
}

} // namespace

void DrawButton(QPainter& p, const ArtButton& b, Look look, const SkinTheme& theme) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    if (b.Logo) {
        Logo(p, b, theme);
        p.restore();
        return;
    }
    const QRectF r = QRectF(b.Place).adjusted(1.5, 1.5, -1.5, -1.5);
    Plate(p, r, 4, look, theme, b.Danger);
    const QPointF press = look == Look::Down ? QPointF(0.5, 1) : QPointF(0, 0);
    const QColor ink = IconColour(b, look, theme);
    if (b.Label.isEmpty()) {
        DrawIcon(p, b.Icon, r.translated(press), ink);
    } else {
        DrawIcon(p, b.Icon, QRectF(r.left() + 3, r.top() + 1, 14, r.height() - 2).translated(press),
                 ink);
        QFont font = CaptionFont(9, 0.8);
        p.setFont(font);
        p.setPen(QColor(0, 0, 0, 150));
        const QRectF text =
            QRectF(r.left() + 18, r.top(), r.width() - 20, r.height()).translated(press);
        p.drawText(text.translated(0, 1), Qt::AlignCenter, b.Label);
        p.setPen(ink);
        p.drawText(text, Qt::AlignCenter, b.Label);
    }
    p.restore();
}

QImage DrawThumb(bool dragged) {
    // 11 x 14: a steel cap with a grip line; dragged it is lit from inside.
    QImage thumb(11, 14, QImage::Format_RGB32);
    thumb.fill(QColor(12, 16, 22));
    QPainter p(&thumb);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF r(0.5, 0.5, 10, 13);
    QLinearGradient body(r.topLeft(), r.topRight());
    if (dragged) {
        body.setColorAt(0, QColor(200, 236, 248));
        body.setColorAt(0.5, QColor(250, 254, 255));
        body.setColorAt(1, QColor(150, 196, 214));
    } else {
        body.setColorAt(0, QColor(176, 188, 202));
        body.setColorAt(0.45, QColor(222, 230, 238));
        body.setColorAt(1, QColor(112, 126, 142));
    }
    p.setPen(QPen(QColor(8, 10, 14), 1));
    p.setBrush(body);
    p.drawRoundedRect(r, 2, 2);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(dragged ? QColor(20, 150, 190) : QColor(60, 70, 84));
    p.drawLine(5, 3, 5, 10);
    p.setPen(QColor(255, 255, 255, dragged ? 230 : 150));
    p.drawLine(6, 3, 6, 10);
    return thumb;
}

} // namespace sentinax::art
