// The faces of the shipped skins: what each skin looks like and where its
// pieces sit. The places repeat the skin files' rows and the main window's
// layout of readouts and graphs; the skin tests check that the pictures and
// those agree (every control inside the mask, a well under every readout).
#pragma once

#include "SkinIcons.h"
#include "SkinPaint.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

namespace sentinax::art {

constexpr int kFaceWidth = 560;
constexpr int kFaceHeight = 430;

enum class Outline {
    Rounded,   // rounded corners
    Compact,   // rounded, without the third fan's corner (x >= 430, y >= 290)
    Chamfered, // corners cut at 45 degrees
};

// Which of a button's four pictures is drawn.
enum class Look { Normal, Over, Down, Disabled };

struct ArtButton {
    QRect Place;
    SkinIcon Icon;
    QString Label;       // beside the icon on the wide buttons
    bool Logo = false;   // the maker's plate: one look only
    bool Danger = false; // lit red (exit)
};

struct SkinSpec {
    QString Prefix; // of the face files: "" (Main.jpg), "Compact", "BB"
    Outline Shape;
    SkinTheme Theme;
    bool ThirdFan;   // the third fan's column is shown
    QRect Hint;      // the hint field
    QString Edition; // small text under the title
};

// The window's outline, inset by inset pixels.
QPainterPath OutlinePath(Outline shape, qreal inset);

// The face with every button in the given look.
QImage DrawFace(const SkinSpec& skin, Look look);
// Black inside the outline, pure white outside, without smoothing.
QImage DrawMask(const SkinSpec& skin);
// The adjusters' thumb, at rest and dragged (shared by all skins: the rows
// written back at exit always name Normal.jpg and Sel.jpg).
QImage DrawThumb(bool dragged);

// The places, as the skin files and the window's layout have them.
const QList<ArtButton>& Buttons();
// The 18 limit adjusters (x, y, 55, 18) in row order: upper limits at even
// indices, lower limits at odd ones; the third fan's are entries 8 and 9.
const QList<QRect>& Adjusters();
// Readouts and graphs: nine each, in the window's item order (Vcore, CPU
// temperature, system temperature, 3.3 V, +5 V, +12 V, CPU fan, system fan,
// third fan); the third fan's are the last.
const QList<QRect>& Readouts();
const QList<QRect>& Graphs();
QRect AnimatedPicture();

} // namespace sentinax::art
