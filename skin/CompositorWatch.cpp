#include "CompositorWatch.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace sentinax {

namespace {

bool OnWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

bool OnX11() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

// The screen number of $DISPLAY (":0.1" is screen 1); 0 when it names none.
int ScreenNumber() {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr)
        return 0;
    const char* colon = std::strrchr(display, ':');
    const char* dot = colon ? std::strchr(colon, '.') : nullptr;
    return dot ? std::atoi(dot + 1) : 0;
}

} // namespace

CompositorWatch::CompositorWatch(QObject* parent) : QObject(parent) {
    if (OnWayland()) {
        compositing_ = true; // a Wayland compositor always blends
        return;
    }
    if (!OnX11())
        return;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (c == nullptr)
        return;
    const int screenNumber = ScreenNumber();
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    if (screens.rem == 0)
        return;
    const xcb_window_t root = screens.data->root;

    const std::string name = "_NET_WM_CM_S" + std::to_string(screenNumber);
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(name.size()), name.c_str()), nullptr);
    if (atom == nullptr)
        return;
    const xcb_atom_t selection = atom->atom;
    std::free(atom);

    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr);
    compositing_ = owner != nullptr && owner->owner != XCB_NONE;
    std::free(owner);

    // Without XFixes the answer at start stands for the whole run.
    const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(c, &xcb_xfixes_id);
    if (xfixes == nullptr || !xfixes->present)
        return;
    std::free(xcb_xfixes_query_version_reply(
        c, xcb_xfixes_query_version(c, XCB_XFIXES_MAJOR_VERSION, XCB_XFIXES_MINOR_VERSION),
        nullptr));
    xcb_xfixes_select_selection_input(c, root, selection,
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    xcb_flush(c);
    selection_ = selection;
    selectionEvent_ = static_cast<uint8_t>(xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

CompositorWatch::~CompositorWatch() {
    if (selection_ != 0 && QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool CompositorWatch::AlphaWindowsPossible() {
    return OnWayland() || OnX11();
}

// Qt sees the event too: the filter only looks.
bool CompositorWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (selection_ == 0 || eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != selectionEvent_)
        return false;
    const auto* notify = static_cast<const xcb_xfixes_selection_notify_event_t*>(message);
    if (notify->selection != selection_)
        return false;
    // A selection owner that went away (closed or destroyed its window) is no
    // compositor any more, whatever the owner field holds.
    const bool compositing = notify->subtype == XCB_XFIXES_SELECTION_EVENT_SET_SELECTION_OWNER &&
                             notify->owner != XCB_NONE;
    if (compositing != compositing_) {
        compositing_ = compositing;
        emit compositingChanged(compositing);
    }
    return false;
}

} // namespace sentinax
