#include "ExposureWatcher.h"

#include "X11Visibility.h"

#include <QGuiApplication>
#include <QSocketNotifier>
#include <QWidget>
#include <QWindow>
#include <xcb/xcb.h>

namespace sentinax {

ExposureWatcher::ExposureWatcher(QWidget* window) : QObject(window), window_(window) {
    window_->installEventFilter(this);
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        x11_ = std::make_unique<X11Visibility>(std::string());
        if (x11_->Connected()) {
            notifier_ = new QSocketNotifier(x11_->Fd(), QSocketNotifier::Read, this);
            connect(notifier_, &QSocketNotifier::activated, this, [this] { OnX11Events(); });
        }
    }
    FollowNativeWindow();
    exposed_ = Seen();
}

ExposureWatcher::~ExposureWatcher() = default;

void ExposureWatcher::SetCovered(bool covered) {
    covered_ = covered;
    Update();
}

bool ExposureWatcher::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_) {
        switch (event->type()) {
        case QEvent::WinIdChange:
        case QEvent::Show:
            FollowNativeWindow();
            Update();
            break;
        case QEvent::Hide:
            Update();
            break;
        default:
            break;
        }
    } else if (watched == handle_ && event->type() == QEvent::Expose) {
        // Seen before the window paints what the exposure asks for.
        Update();
    }
    return false;
}

void ExposureWatcher::FollowNativeWindow() {
    QWindow* handle = window_->windowHandle();
    if (handle != handle_) {
        if (handle_)
            handle_->removeEventFilter(this);
        handle_ = handle;
        if (handle_)
            handle_->installEventFilter(this);
    }
    const quintptr id = window_->internalWinId();
    if (id == nativeId_)
        return;
    nativeId_ = id;
    covered_ = false;
    if (!x11_ || !x11_->Connected() || id == 0)
        return;
    // The window was made on Qt's own connection: it must have reached the
    // server before this connection can ask about it.
    if (auto* x11App = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
        xcb_flush(x11App->connection());
    x11_->Watch(static_cast<uint32_t>(id),
                static_cast<uint32_t>(QCoreApplication::applicationPid()));
    covered_ = x11_->Covered();
}

void ExposureWatcher::OnX11Events() {
    const bool changed = x11_->ReadEvents();
    if (!x11_->Connected()) {
        // The server is gone for this connection: nothing more will come.
        notifier_->setEnabled(false);
        SetCovered(false);
        return;
    }
    if (changed)
        SetCovered(x11_->Covered());
}

bool ExposureWatcher::Seen() const {
    return window_->isVisible() && handle_ && handle_->isExposed() && !covered_;
}

void ExposureWatcher::Update() {
    const bool exposed = Seen();
    if (exposed == exposed_)
        return;
    exposed_ = exposed;
    emit exposedChanged(exposed_);
}

} // namespace sentinax
