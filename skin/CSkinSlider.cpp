#include "CSkinSlider.h"

#include "CSkinDialog.h"
#include "ImageOps.h"

#include <QMouseEvent>
#include <QPointer>

namespace sentinax {

CSkinSlider::CSkinSlider(CSkinDialog& surface, const SliderInfo& row,
                         const std::string& skinDirectory)
    : CBitmapSlider(&surface), surface_(surface), name_(row.Name), index_(row.Index) {
    setMouseTracking(true);
    const QRect place(row.Rect.Left, row.Rect.Top, row.Rect.Right - row.Rect.Left,
                      row.Rect.Bottom - row.Rect.Top);
    setGeometry(place);
    QImage background;
    CropImage(surface.MainImage(), background, place.left(), place.top(), place.right() + 1,
              place.bottom() + 1);
    SetBackground(background);
    const QImage thumb = surface.SkinImage(skinDirectory + row.ThumbImage, row.ThumbImage);
    const QImage dragged =
        surface.SkinImage(skinDirectory + row.ThumbDragImage, row.ThumbDragImage);
    SetThumbImages(thumb, dragged.isNull() ? thumb : dragged);
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
        surface_.OnSliderIndex(index_, kThumbTrack, GetPos());
    } else {
        const QPoint pos = event->position().toPoint();
        surface_.OnPointerOver(name_, pos.x(), pos.y());
    }
}

void CSkinSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && pressed_) {
        pressed_ = false;
        QPointer<CSkinSlider> alive(this);
        surface_.OnSliderIndex(index_, kThumbEnd, GetPos());
        if (!alive)
            return;
    }
    CBitmapSlider::mouseReleaseEvent(event);
}

} // namespace sentinax
