// Whether a compositor blends the windows of the desktop the program shows
// on: always in a Wayland session; on X11 while a compositing manager owns the
// _NET_WM_CM_S<screen> selection. The X11 selection is watched (XFixes
// selection events on Qt's own connection), so a compositor that starts or
// stops while the program runs is followed. Elsewhere (offscreen, a display
// without XFixes) nothing blends.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <cstdint>

namespace sentinax {

// How the face's cut-out corners are made.
enum class FaceShape {
    // The window is shaped (X shape) and its face opaque: nothing blends.
    Shaped,
    // The window's pixels carry alpha, zero outside the mask; the input
    // region still follows the mask.
    Translucent,
};

class CompositorWatch : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit CompositorWatch(QObject* parent = nullptr);
    ~CompositorWatch() override;

    bool Compositing() const { return compositing_; }
    FaceShape Shape() const { return compositing_ ? FaceShape::Translucent : FaceShape::Shaped; }

    // The platform can give a top-level window pixels with alpha (X11 with a
    // 32-bit visual, Wayland); the window must ask for it before it is shown.
    static bool AlphaWindowsPossible();

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

signals:
    // A compositor started (true) or stopped (false).
    void compositingChanged(bool compositing);

private:
    bool compositing_ = false;
    uint32_t selection_ = 0;     // the _NET_WM_CM_S<screen> atom; 0: not watched
    uint8_t selectionEvent_ = 0; // XFixes' selection-notify event code
};

} // namespace sentinax
