// A limit adjuster made from a TRACKBARINFO row. While the left button is
// held on it, every pointer move reports the position to the surface (code
// 4) and the release reports it once more (code 8); a pointer merely passing
// over it reports the adjuster's name as the control under the pointer.
#pragma once

#include "CBitmapSlider.h"
#include "SkinReader.h"

#include <string>

namespace sentinax {

class CSkinDialog;

class CSkinSlider : public CBitmapSlider {
    Q_OBJECT
public:
    // Report codes.
    static constexpr int kThumbTrack = 4;
    static constexpr int kThumbEnd = 8;

    // Creates the adjuster at the row's place: its background cut from the
    // surface's face, its thumbs decoded from the row's image files (resolved
    // against the skin's folder; failures reported through the surface), the
    // row's orientation and position.
    CSkinSlider(CSkinDialog& surface, const SliderInfo& row, const std::string& skinDirectory);

    const std::string& Name() const { return name_; }
    int Index() const { return index_; }
    bool Pressed() const { return pressed_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    CSkinDialog& surface_;
    std::string name_;
    int index_;
    bool pressed_ = false;
};

} // namespace sentinax
