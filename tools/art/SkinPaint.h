// Drawing pieces of the skin faces: the panel's colours, outlines with
// rounded or cut corners, recessed bays and wells, grooves, engraved captions,
// screws and lamps. Light comes from the top left everywhere.
#pragma once

#include <QColor>
#include <QFont>
#include <QPainterPath>
#include <QPolygonF>
#include <QRect>
#include <QString>

class QPainter;

namespace sentinax::art {

struct SkinTheme {
    QColor BodyTop;    // the panel at the top edge
    QColor BodyBottom; // and at the bottom edge
    QColor BayTop;     // recessed bays
    QColor BayBottom;
    QColor Accent;  // lamps, lit icons, the title's figure
    QColor Caption; // engraved captions
    QColor Edge;    // the outermost line of the window
};

// A polygon whose corners are rounded with the given radii (one per corner;
// 0 leaves a sharp corner), as a closed path.
QPainterPath RoundedPolygon(const QPolygonF& corners, const QList<qreal>& radii);

// The panel: a vertical gradient with a fine brushed grain (a fixed seed, so
// every build draws the same pixels), clipped to the outline.
void FillPanel(QPainter& p, const QPainterPath& outline, const SkinTheme& theme, int height);

// A raised rim along the outline: light on the top-left, dark on the bottom-right.
void RaisedRim(QPainter& p, const QPainterPath& outline);

// A recessed bay with rounded corners: darker gradient, shadow inside the top
// and left edges, light on the bottom and right.
void Bay(QPainter& p, const QRectF& rect, const SkinTheme& theme, qreal radius = 6);

// A black well exactly over rect with a bezel around it (outside rect), for
// the readouts and graphs that sit on it.
void Well(QPainter& p, const QRect& rect);

// A horizontal groove (an engraved line) from x0 to x1 at y.
void Groove(QPainter& p, qreal x0, qreal x1, qreal y);
void VerticalGroove(QPainter& p, qreal x, qreal y0, qreal y1);

// Text cut into the panel: dark shadow above, the caption colour, a faint
// light line below. flags: Qt alignment flags within rect.
void Engraved(QPainter& p, const QRectF& rect, int flags, const QString& text, const QFont& font,
              const QColor& colour);

// The captions' font: DejaVu Sans, bold, pixel size, letter spacing in pixels.
QFont CaptionFont(qreal pixels, qreal spacing = 0.6, bool bold = true, bool condensed = false);

// A small cross-head screw centred at c.
void Screw(QPainter& p, QPointF c);

// A round lamp centred at c with a soft glow in its colour.
void Lamp(QPainter& p, QPointF c, qreal radius, const QColor& colour);

// A short accent line (a lit strip) with a soft glow.
void AccentLine(QPainter& p, const QLineF& line, const QColor& colour, qreal width = 2);

} // namespace sentinax::art
