// A button made from a BUTTONINFO row: its four looks cut from the surface's
// full-window pictures at the row's rectangle. A click (press and release
// inside) is told by buttonClicked with the button's index; the surface turns
// it into the command of the button's name.
#pragma once

#include "CHoverButton.h"
#include "SkinControl.h"

#include <QImage>

namespace sentinax {

// The surface's full-window pictures a button takes its looks from.
struct ButtonPictures {
    QImage Normal, Over, Down, Disabled;
};

class CSkinButton : public CHoverButton, public SkinControl {
    Q_OBJECT
public:
    // Creates the button at the row's place on parent, with the row's
    // tooltip and face flag.
    CSkinButton(const ButtonInfo& row, const ButtonPictures& pictures, QWidget* parent);

signals:
    // Pressed and released inside. The receiver may release the skin, this
    // button included (it is deleted later, never during the signal).
    void buttonClicked(int index);
    // The pointer moved over the button; x and y in the button's coordinates.
    void pointerOver(int index, int x, int y);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace sentinax
