#include "SkinFace.h"

#include "SkinButtons.h"

#include <QLinearGradient>
#include <QPainter>
#include <cmath>

namespace sentinax::art {

namespace {

constexpr qreal kW = kFaceWidth;
constexpr qreal kH = kFaceHeight;
// Where the compact outline leaves out the third fan's corner.
constexpr qreal kCompactCutX = 430;
constexpr qreal kCompactCutY = 290;
constexpr qreal kChamfer = 16;

const QColor kLowerLimit(88, 162, 255);
const QColor kUpperLimit(255, 112, 84);

void TitleBar(QPainter& p, const SkinSpec& skin) {
    const SkinTheme& t = skin.Theme;
    Groove(p, 8, kW - 8, 34);
    QFont title = CaptionFont(17, 3.2);
    Engraved(p, QRectF(146, 3, 160, 22), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("SENTINAX"), title, QColor(222, 232, 242));
    QFontMetricsF m(title);
    const qreal x = 146 + m.horizontalAdvance(QStringLiteral("SENTINAX")) + 2;
    Engraved(p, QRectF(x, 2, 24, 24), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("4"),
             CaptionFont(20, 0), t.Accent);
    Engraved(p, QRectF(147, 22, 260, 11), Qt::AlignLeft | Qt::AlignVCenter, skin.Edition,
             CaptionFont(7.5, 1.7), t.Caption);
    // The title buttons sit in a recessed strip.
    Bay(p, QRectF(450.5, 4.5, 101, 27), t, 7);
}

void Lamps(QPainter& p, const QList<QRect>& wells, const QColor& colour, int count) {
    for (int i = 0; i < count && i < wells.size(); ++i) {
        const QRect& r = wells[i];
        Lamp(p, QPointF(r.left() - 9, r.center().y() + 0.5), 2.2, colour);
    }
}

// Engraved unit captions beside the readouts that show bare numbers.
void Units(QPainter& p, const SkinSpec& skin) {
    const QList<QRect>& readouts = Readouts();
    const QFont font = CaptionFont(8, 0.8);
    for (int i : {0, 3, 4, 5})
        Engraved(p, QRectF(readouts[i].right() + 5, readouts[i].top(), 24, readouts[i].height()),
                 Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("V"), font, skin.Theme.Caption);
    for (int i = 6; i < 9; ++i) {
        if (i == 8 && !skin.ThirdFan)
            continue;
        Engraved(p, QRectF(readouts[i].right() + 4, readouts[i].top(), 30, readouts[i].height()),
                 Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("RPM"), CaptionFont(7, 0.6),
                 skin.Theme.Caption);
    }
}

// The slot an adjuster's thumb runs in, with its limit's colour and ticks.
void AdjusterTrack(QPainter& p, const QRect& a, bool lower) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF slot(a.left() + 3, a.top() + 5, a.width() - 6, 4);
    QPainterPath path;
    path.addRoundedRect(slot, 2, 2);
    p.fillPath(path, QColor(4, 6, 10));
    p.setPen(QPen(QColor(255, 255, 255, 50), 1));
    p.drawLine(QPointF(slot.left() + 2, slot.bottom() + 0.5),
               QPointF(slot.right() - 2, slot.bottom() + 0.5));
    QColor line = lower ? kLowerLimit : kUpperLimit;
    line.setAlpha(190);
    p.setPen(QPen(line, 1));
    p.drawLine(QPointF(slot.left() + 2, slot.center().y()),
               QPointF(slot.right() - 2, slot.center().y()));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(0, 0, 0, 140));
    // The thumb's centre runs from x + 7.5 to x + 47.5: ticks every quarter.
    for (int k = 0; k <= 4; ++k) {
        const int x = a.left() + 7 + k * 10;
        p.drawLine(x, a.top() + 11, x, a.top() + 12);
    }
    p.restore();
}

void SectionTag(QPainter& p, const QRectF& r, SkinIcon icon, const QRectF& iconBox,
                const QString& title, const QString& subtitle, const SkinTheme& t) {
    Bay(p, r, t, 7);
    DrawIcon(p, icon, iconBox.translated(0, 1), QColor(0, 0, 0, 150));
    DrawIcon(p, icon, iconBox, t.Caption.lighter(115));
    Engraved(p, QRectF(r.left(), iconBox.bottom() + 4, r.width(), 14),
             Qt::AlignHCenter | Qt::AlignTop, title, CaptionFont(10, 1.6), QColor(214, 226, 238));
    Engraved(p, QRectF(r.left(), iconBox.bottom() + 17, r.width(), 11),
             Qt::AlignHCenter | Qt::AlignTop, subtitle, CaptionFont(7, 1.0), t.Caption);
}

void Bays(QPainter& p, const SkinSpec& skin) {
    const SkinTheme& t = skin.Theme;
    const qreal fanRight = skin.ThirdFan ? 546.5 : 427.5;

    // Controls at the left of the temperature row.
    Bay(p, QRectF(8.5, 38.5, 137, 121), t);
    Engraved(p, QRectF(14, 42, 126, 12), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("CONTROL"), CaptionFont(8, 1.4), t.Caption);
    Lamp(p, QPointF(134, 48), 2.2, t.Accent);
    const QFont small = CaptionFont(7.5, 0.8);
    Engraved(p, QRectF(84, 60, 58, 22), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("UNIT"),
             small, t.Caption);
    Engraved(p, QRectF(84, 90, 58, 22), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("COOLER"),
             small, t.Caption);
    Groove(p, 14, 140, 118);
    DrawIcon(p, SkinIcon::Thermometer, QRectF(16, 124, 16, 30), t.Caption.lighter(115));
    Engraved(p, QRectF(38, 124, 100, 14), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("THERMAL"), CaptionFont(10, 1.6), QColor(214, 226, 238));
    Engraved(p, QRectF(38, 138, 100, 12), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("CPU \u00B7 SYSTEM"), CaptionFont(7, 1.0), t.Caption);

    // Temperatures, the picture, voltages, fans.
    Bay(p, QRectF(149.5, 37.5, 277, 122), t);
    VerticalGroove(p, 287, 44, 152);
    Bay(p, QRectF(430.5, 37.5, 116, 122), t);
    Engraved(p, QRectF(436, 40, 104, 14), Qt::AlignHCenter | Qt::AlignVCenter,
             QStringLiteral("STATUS"), CaptionFont(8, 1.6), t.Caption);

    SectionTag(p, QRectF(8.5, 163.5, 68, 121), SkinIcon::Bolt, QRectF(28, 178, 28, 44),
               QStringLiteral("VOLTS"), QStringLiteral("RAILS"), t);
    Bay(p, QRectF(80.5, 163.5, 466, 121), t);
    for (qreal x : {197.0, 312.0, 427.0})
        VerticalGroove(p, x, 170, 278);

    SectionTag(p, QRectF(8.5, 289.5, 183, 112), SkinIcon::Fan, QRectF(64, 298, 56, 56),
               QStringLiteral("FANS"), QStringLiteral("CHASSIS COOLING"), t);
    for (QPointF c : {QPointF(17, 298), QPointF(183, 298), QPointF(17, 393), QPointF(183, 393)})
        Screw(p, c);
    Bay(p, QRectF(195.5, 289.5, fanRight - 195.5, 112), t);
    VerticalGroove(p, 312, 296, 378);
    if (skin.ThirdFan)
        VerticalGroove(p, 428, 296, 378);
}

// Where a two-fan board's third column would be: the maker's badge.
void Badge(QPainter& p, const SkinSpec& skin) {
    const SkinTheme& t = skin.Theme;
    const QRectF r(431.5, 289.5, 115, 112);
    Bay(p, r, t, 7);
    DrawIcon(p, SkinIcon::Emblem, QRectF(r.center().x() - 20, r.top() + 14, 40, 40), t.Accent);
    Engraved(p, QRectF(r.left(), r.top() + 60, r.width(), 16), Qt::AlignHCenter | Qt::AlignVCenter,
             QStringLiteral("KORVANE"), CaptionFont(11, 2.4), QColor(214, 226, 238));
    Engraved(p, QRectF(r.left(), r.top() + 77, r.width(), 12), Qt::AlignHCenter | Qt::AlignVCenter,
             QStringLiteral("BOARD EDITION"), CaptionFont(7, 1.2), t.Caption);
    for (QPointF c :
         {QPointF(r.left() + 9, r.top() + 9), QPointF(r.right() - 9, r.top() + 9),
          QPointF(r.left() + 9, r.bottom() - 9), QPointF(r.right() - 9, r.bottom() - 9)})
        Screw(p, c);
}

void HintStrip(QPainter& p, const SkinSpec& skin) {
    const QRect& h = skin.Hint;
    const QRectF strip(h.left() - 4.5, h.top() - 1.5, h.width() + 9, h.height() + 3);
    QPainterPath lip;
    lip.addRoundedRect(strip.adjusted(-1, -1, 1, 1), 5, 5);
    p.fillPath(lip, QColor(255, 255, 255, 40));
    QPainterPath path;
    path.addRoundedRect(strip, 4, 4);
    QLinearGradient lcd(strip.topLeft(), strip.bottomLeft());
    QColor tint = skin.Theme.Accent;
    lcd.setColorAt(0, QColor(4, 7, 10));
    lcd.setColorAt(1, QColor(tint.red() / 10 + 6, tint.green() / 10 + 8, tint.blue() / 10 + 10));
    p.fillPath(path, lcd);
    p.setPen(QPen(QColor(0, 0, 0, 200), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    tint.setAlpha(70);
    p.setPen(QPen(tint, 1));
    p.drawLine(QPointF(strip.left() + 5, strip.bottom() - 1.5),
               QPointF(strip.right() - 5, strip.bottom() - 1.5));
}

} // namespace

QPainterPath OutlinePath(Outline shape, qreal d) {
    switch (shape) {
    case Outline::Rounded: {
        QPainterPath path;
        path.addRoundedRect(QRectF(d, d, kW - 2 * d, kH - 2 * d), 18 - d, 18 - d);
        return path;
    }
    case Outline::Compact: {
        QPolygonF corners;
        corners << QPointF(d, d) << QPointF(kW - d, d) << QPointF(kW - d, kCompactCutY - d)
                << QPointF(kCompactCutX - d, kCompactCutY - d) << QPointF(kCompactCutX - d, kH - d)
                << QPointF(d, kH - d);
        const qreal r = 16 - d;
        return RoundedPolygon(corners, {r, r, r, 14 + d, r, r});
    }
    case Outline::Chamfered: {
        const qreal c = kChamfer + d * std::sqrt(2.0) - 2 * d;
        QPolygonF corners;
        corners << QPointF(d + c, d) << QPointF(kW - d - c, d) << QPointF(kW - d, d + c)
                << QPointF(kW - d, kH - d - c) << QPointF(kW - d - c, kH - d)
                << QPointF(d + c, kH - d) << QPointF(d, kH - d - c) << QPointF(d, d + c);
        return RoundedPolygon(corners, {2, 2, 2, 2, 2, 2, 2, 2});
    }
    }
    return {};
}

QImage DrawMask(const SkinSpec& skin) {
    QImage mask(kFaceWidth, kFaceHeight, QImage::Format_RGB32);
    mask.fill(Qt::white);
    QPainter p(&mask);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillPath(OutlinePath(skin.Shape, 0), Qt::black);
    return mask;
}

QImage DrawFace(const SkinSpec& skin, Look look) {
    QImage face(kFaceWidth, kFaceHeight, QImage::Format_RGB32);
    face.fill(skin.Theme.Edge);
    QPainter p(&face);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    const QPainterPath body = OutlinePath(skin.Shape, 1.5);
    FillPanel(p, body, skin.Theme, kFaceHeight);
    RaisedRim(p, body);
    p.setClipPath(body);

    TitleBar(p, skin);
    Bays(p, skin);
    if (!skin.ThirdFan && skin.Shape != Outline::Compact)
        Badge(p, skin);

    const QList<QRect>& adjusters = Adjusters();
    for (int i = 0; i < adjusters.size(); ++i) {
        if (!skin.ThirdFan && (i == 8 || i == 9))
            continue;
        AdjusterTrack(p, adjusters[i], i % 2 == 1);
    }
    const int items = skin.ThirdFan ? 9 : 8;
    for (int i = 0; i < items; ++i) {
        Well(p, Graphs()[i]);
        Well(p, Readouts()[i]);
    }
    Well(p, AnimatedPicture());
    Lamps(p, Readouts(), skin.Theme.Accent, items);
    Units(p, skin);
    HintStrip(p, skin);

    for (const ArtButton& button : Buttons())
        DrawButton(p, button, look, skin.Theme);
    return face;
}

} // namespace sentinax::art
