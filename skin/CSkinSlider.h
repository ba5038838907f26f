// A limit adjuster made from a TRACKBARINFO row. While the left button is
// held on it, every pointer move reports the position (code 4) and the
// release reports it once more (code 8), through sliderChanged with the
// adjuster's index; a pointer merely passing over it is told by pointerOver.
#pragma once

#include "CBitmapSlider.h"
#include "SkinControl.h"

#include <QImage>

namespace sentinax {

class CSkinSlider : public CBitmapSlider, public SkinControl {
    Q_OBJECT
public:
    // Report codes.
    static constexpr int kThumbTrack = 4;
    static constexpr int kThumbEnd = 8;

    // Creates the adjuster at the row's place on parent: its background cut
    // from the face, the row's orientation and position. An empty dragged
    // thumb is drawn as the thumb.
    CSkinSlider(const SliderInfo& row, const QImage& face, const QImage& thumb,
                const QImage& draggedThumb, QWidget* parent);

    bool Pressed() const { return pressed_; }

signals:
    void sliderChanged(int index, int code, int position);
    // The pointer passed over without the button held; the adjuster's coordinates.
    void pointerOver(int index, int x, int y);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};

} // namespace sentinax
