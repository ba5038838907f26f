#include "CHoverButton.h"

#include "ImageOps.h"

#include <QEnterEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>

namespace sentinax {

CHoverButton::CHoverButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CHoverButton::SetImages(const QRect& rect, const QImage& main, const QImage& over,
                             const QImage& down, const QImage& disabled) {
    const int l = rect.left(), t = rect.top();
    const int r = l + rect.width(), b = t + rect.height();
    CropImage(main, normalImage_, l, t, r, b);
    CropImage(over, overImage_, l, t, r, b);
    CropImage(down, downImage_, l, t, r, b);
    CropImage(disabled, disabledImage_, l, t, r, b);
    setAttribute(Qt::WA_OpaquePaintEvent, !normalImage_.isNull());
    update();
}

void CHoverButton::SetTooltipText(const QString& text, bool activate) {
    if (text.isEmpty())
        return;
    setToolTip(activate ? text : QString());
}

ButtonFace CHoverButton::Face() const {
    return SelectButtonFace(staticFace_, isDown(), hover_, !isEnabled());
}

const QImage& CHoverButton::FaceImage(ButtonFace face) const {
    switch (face) {
    case ButtonFace::Over:
        return overImage_;
    case ButtonFace::Down:
        return downImage_;
    case ButtonFace::Disabled:
        return disabledImage_;
    case ButtonFace::Normal:
        break;
    }
    return normalImage_;
}

void CHoverButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const ButtonFace face = Face();
    const QImage& image = FaceImage(face);
    if (!image.isNull()) {
        DrawImage(painter, image, 0, 0, width(), height());
        return;
    }
    // No picture for this state: a plain face that still shows the state.
    QColor fill(44, 58, 74);
    if (face == ButtonFace::Over)
        fill = QColor(58, 92, 118);
    else if (face == ButtonFace::Down)
        fill = QColor(30, 40, 52);
    else if (face == ButtonFace::Disabled)
        fill = QColor(40, 44, 48);
    painter.fillRect(rect(), fill);
    painter.setPen(QColor(120, 170, 200));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CHoverButton::TrackPointer(const QPoint& pos) {
    const bool leftHeld = (QGuiApplication::mouseButtons() & Qt::LeftButton) != 0;
    const bool active = QGuiApplication::applicationState() == Qt::ApplicationActive;
    SetHover(HoverAfterMove(hover_, rect().contains(pos), leftHeld, active));
}

void CHoverButton::mouseMoveEvent(QMouseEvent* event) {
    QAbstractButton::mouseMoveEvent(event);
    TrackPointer(event->position().toPoint());
}

void CHoverButton::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    TrackPointer(event->position().toPoint());
}

void CHoverButton::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    SetHover(false);
}

bool CHoverButton::event(QEvent* event) {
    // Another program became active: the light goes out.
    if (event->type() == QEvent::WindowDeactivate || event->type() == QEvent::Hide)
        SetHover(false);
    return QAbstractButton::event(event);
}

void CHoverButton::ResetPointerState() {
    if (QWidget::mouseGrabber() == this)
        releaseMouse();
    if (isDown())
        setDown(false);
    SetHover(false);
}

void CHoverButton::SetHover(bool hover) {
    if (hover == hover_)
        return;
    hover_ = hover;
    update();
}

} // namespace sentinax
