#include "CBitmapSlider.h"

#include "ImageOps.h"

#include <QMouseEvent>
#include <QPainter>

namespace sentinax {

CBitmapSlider::CBitmapSlider(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
}

void CBitmapSlider::SetBackground(const QImage& background) {
    background_ = background;
    setAttribute(Qt::WA_OpaquePaintEvent, !background_.isNull());
    update();
}

void CBitmapSlider::SetThumbImages(const QImage& thumb, const QImage& thumbDragged) {
    thumbImage_ = thumb;
    thumbDragImage_ = thumbDragged;
    update();
}

void CBitmapSlider::SetVertical(bool vertical) {
    vertical_ = vertical;
    update();
}

void CBitmapSlider::SetPos(int position) {
    const int clamped = ClampSliderPosition(position);
    if (clamped == position_)
        return;
    position_ = clamped;
    update();
}

QSize CBitmapSlider::ThumbSize() const {
    if (!thumbImage_.isNull())
        return thumbImage_.size();
    // A plain thumb: a short block across the whole track.
    return vertical_ ? QSize(width(), kDefaultThumbLength) : QSize(kDefaultThumbLength, height());
}

TrackGeometry CBitmapSlider::Geometry() const {
    const QSize thumb = ThumbSize();
    return TrackGeometry(width(), height(), vertical_ ? thumb.height() : thumb.width(), vertical_);
}

SliderRect CBitmapSlider::NativeThumbRect() const {
    return Geometry().ThumbRect(position_);
}

SliderRect CBitmapSlider::ThumbRect() const {
    const QSize thumb = ThumbSize();
    return ThumbImageRect(NativeThumbRect(), thumb.width(), thumb.height(), vertical_);
}

void CBitmapSlider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (background_.isNull())
        painter.fillRect(rect(), QColor(16, 22, 30));
    else
        DrawImage(painter, background_, 0, 0, width(), height());
    const SliderRect r = ThumbRect();
    const QImage& image = dragging_ && !thumbDragImage_.isNull() ? thumbDragImage_ : thumbImage_;
    if (!image.isNull()) {
        DrawImage(painter, image, r.Left, r.Top, r.Right, r.Bottom);
        return;
    }
    const QRect thumb(r.Left, r.Top, r.Width(), r.Height());
    painter.fillRect(thumb, dragging_ ? QColor(120, 220, 240) : QColor(150, 170, 190));
    painter.setPen(QColor(30, 40, 50));
    painter.drawRect(thumb.adjusted(0, 0, -1, -1));
}

void CBitmapSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    const TrackGeometry geometry = Geometry();
    const SliderRect native = geometry.ThumbRect(position_);
    const int along = geometry.Along(pos.x(), pos.y());
    if (native.Contains(pos.x(), pos.y())) {
        grabbed_ = true;
        grabOffset_ = along - (vertical_ ? native.Top : native.Left);
    } else {
        SetPos(geometry.PageToward(position_, along));
    }
    dragging_ = ThumbRect().Contains(pos.x(), pos.y());
    update();
}

void CBitmapSlider::mouseMoveEvent(QMouseEvent* event) {
    if (!grabbed_)
        return;
    const QPoint pos = event->position().toPoint();
    const TrackGeometry geometry = Geometry();
    SetPos(geometry.PositionAt(geometry.Along(pos.x(), pos.y()) - grabOffset_));
    if (dragging_)
        update();
}

void CBitmapSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    grabbed_ = false;
    dragging_ = false;
    update();
}

} // namespace sentinax
