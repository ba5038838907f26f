// A button drawn entirely from four images of its own size (normal, pointer
// over, pressed, disabled) that lights up while the pointer is over it and
// shows a tooltip. Without images it draws a plain framed face, so a skin
// whose pictures failed to load still has usable buttons.
#pragma once

#include "ButtonState.h"

#include <QAbstractButton>
#include <QImage>

namespace sentinax {

class CHoverButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit CHoverButton(QWidget* parent = nullptr);

    // Cuts rect (in the surface's client coordinates) out of each of the four
    // surface images; an empty surface image leaves that state without one.
    void SetImages(const QRect& rect, const QImage& main, const QImage& over, const QImage& down,
                   const QImage& disabled);
    // Nothing for an empty text; otherwise the tooltip shows it while active.
    void SetTooltipText(const QString& text, bool activate);
    void SetStaticFace(bool staticFace) { staticFace_ = staticFace; }

    bool Hover() const { return hover_; }
    // Forgets the pointer: not pressed, not lit, no mouse grab of its own.
    // Run when a dialog or menu took the pointer away (a modal loop ended, or
    // a command ran one), so that the next click starts afresh.
    void ResetPointerState();
    // The image the button shows now.
    ButtonFace Face() const;
    const QImage& FaceImage(ButtonFace face) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    void SetHover(bool hover);

private:
    void TrackPointer(const QPoint& pos);

    QImage normalImage_, overImage_, downImage_, disabledImage_;
    bool hover_ = false;
    bool staticFace_ = false;
};

} // namespace sentinax
