#include "CSkinSlider.h"

#include <QMouseEvent>
#include <QPointer>

namespace sentinax {

CSkinSlider::CSkinSlider(const SliderInfo& row, const QImage& face, const QImage& thumb,
                         const QImage& draggedThumb, QWidget* parent)
    : CBitmapSlider(parent), SkinControl(*this, row.Name, row.Index, row.Rect) {
    setMouseTracking(true);
    SetBackground(FaceUnder(face));
    SetThumbImages(thumb, draggedThumb.isNull() ? thumb : draggedThumb);
    SetVertical(!row.Horizontal);
    SetPos(row.Position);
    show();
}

void CSkinSlider::mousePressEvent(QMouseEvent* event) {
    CBitmapSlider::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        pressed_ = true;
}

void CSkinSlider::mouseMoveEvent(QMouseEvent* event) {
    CBitmapSlider::mouseMoveEvent(event);
    if (pressed_) {
        emit sliderChanged(Index(), kThumbTrack, GetPos());
    } else {
        const QPoint pos = event->position().toPoint();
        emit pointerOver(Index(), pos.x(), pos.y());
    }
}

void CSkinSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && pressed_) {
        pressed_ = false;
        QPointer<CSkinSlider> alive(this);
        emit sliderChanged(Index(), kThumbEnd, GetPos());
        if (!alive)
            return;
    }
    CBitmapSlider::mouseReleaseEvent(event);
}

} // namespace sentinax
