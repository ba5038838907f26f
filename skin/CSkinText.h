// A text field made from a TEXTINFO row: its background cut from the face at
// the row's rectangle, the row's font, colour and initial text. The window
// writes into it by name (the hints go to TEXT_HINT); a click on it is told
// by textClicked with its index.
#pragma once

#include "CMarqueeLabel.h"
#include "SkinControl.h"

#include <QImage>

namespace sentinax {

class CSkinText : public CMarqueeLabel, public SkinControl {
    Q_OBJECT
public:
    CSkinText(const TextInfo& row, const QImage& face, QWidget* parent);

    // The font of a row: the face (the default family when the row names
    // none), weight 700 or 400, italic or upright; a positive size is the
    // character cell's height in pixels, a negative one the characters'
    // height, zero the default size.
    static QFont RowFont(const TextInfo& row);

signals:
    void textClicked(int index);
    // The pointer moved over the field; x and y in the field's coordinates.
    void pointerOver(int index, int x, int y);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace sentinax
