// A button made from a BUTTONINFO row: its four images cut from the surface's
// full-window images at the row's rectangle. A click (press and release
// inside) reaches the surface by the button's index, and from there the
// window's command handler by its name.
#pragma once

#include "CHoverButton.h"
#include "SkinReader.h"

#include <string>

namespace sentinax {

class CSkinDialog;

class CSkinButton : public CHoverButton {
    Q_OBJECT
public:
    // Creates the button at the row's place on the surface, with the row's
    // tooltip and face flag and the surface's four images.
    CSkinButton(CSkinDialog& surface, const ButtonInfo& row);

    const std::string& Name() const { return name_; }
    int Index() const { return index_; }

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    CSkinDialog& surface_;
    std::string name_;
    int index_;
};

} // namespace sentinax
