// A text field made from a TEXTINFO row: its background cut from the
// surface's face at the row's rectangle, the row's font, colour and initial
// text. The window writes into it by name (the hints go to TEXT_HINT).
#pragma once

#include "CMarqueeLabel.h"
#include "SkinReader.h"

#include <string>

namespace sentinax {

class CSkinDialog;

class CSkinText : public CMarqueeLabel {
    Q_OBJECT
public:
    CSkinText(CSkinDialog& surface, const TextInfo& row);

    const std::string& Name() const { return name_; }
    int Index() const { return index_; }

    // The font of a row: the face (the default family when the row names
    // none), weight 700 or 400, italic or upright; a positive size is the
    // character cell's height in pixels, a negative one the characters'
    // height, zero the default size.
    static QFont RowFont(const TextInfo& row);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    CSkinDialog& surface_;
    std::string name_;
    int index_;
};

} // namespace sentinax
