// Whether anybody can see a top-level window: it is shown, the platform
// reports it exposed (not minimised, not on another workspace, not reported
// hidden by the compositor), and on X11 it is not wholly covered by other
// windows, which the X server tells (X11Visibility) but Qt does not.
//
// What cannot be learnt counts as seen: without an X server that reports
// visibility (Wayland, another platform, a server that never sends the
// events) only the platform's exposure and the window's own state count, so
// a visible window is never taken for an unseen one.
#pragma once

#include <QObject>
#include <QPointer>
#include <memory>

class QSocketNotifier;
class QWidget;
class QWindow;

namespace sentinax {

class X11Visibility;

class ExposureWatcher : public QObject {
    Q_OBJECT
public:
    // Watches window (a top-level widget), for as long as both live.
    explicit ExposureWatcher(QWidget* window);
    ~ExposureWatcher() override;

    bool Exposed() const { return exposed_; }
    bool Covered() const { return covered_; }

public slots:
    // The window is wholly covered by others, or no longer: what the X server
    // reports. Public so that a platform without the report can be driven.
    void SetCovered(bool covered);

signals:
    void exposedChanged(bool exposed);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Follows the window's native window (made, or made again with another
    // id) and its QWindow.
    void FollowNativeWindow();
    void OnX11Events();
    bool Seen() const;
    // Tells the change, if any.
    void Update();

    QWidget* window_;
    QPointer<QWindow> handle_;
    std::unique_ptr<X11Visibility> x11_;
    QSocketNotifier* notifier_ = nullptr;
    quintptr nativeId_ = 0;
    bool covered_ = false;
    bool exposed_ = false;
};

} // namespace sentinax
