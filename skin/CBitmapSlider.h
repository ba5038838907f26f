// A limit adjuster drawn from pictures: a background (the face under it) and
// a thumb image at rest and another while it is dragged. Range 0 to 100. A
// press on the thumb grabs it; a press beside it moves it one page toward the
// pointer. Without thumb images a plain thumb is drawn, so the control stays
// usable when a skin's pictures are missing.
#pragma once

#include "SliderGeometry.h"

#include <QImage>
#include <QWidget>

namespace sentinax {

class CBitmapSlider : public QWidget {
    Q_OBJECT
public:
    explicit CBitmapSlider(QWidget* parent = nullptr);

    void SetBackground(const QImage& background);
    void SetThumbImages(const QImage& thumb, const QImage& thumbDragged);
    void SetVertical(bool vertical);
    bool Vertical() const { return vertical_; }
    // Shown clamped to 0..100; repaints at once when it changed.
    void SetPos(int position);
    int GetPos() const { return position_; }
    // The control's own thumb rectangle and where the thumb image is drawn.
    SliderRect NativeThumbRect() const;
    SliderRect ThumbRect() const;
    // The left button went down on the thumb image and has not come up.
    bool Dragging() const { return dragging_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TrackGeometry Geometry() const;
    QSize ThumbSize() const;

    QImage background_;
    QImage thumbImage_;
    QImage thumbDragImage_;
    int position_ = 0;
    bool vertical_ = false;
    bool grabbed_ = false; // the thumb follows the pointer
    int grabOffset_ = 0;   // pointer minus thumb start, along the track
    bool dragging_ = false;
};

} // namespace sentinax
