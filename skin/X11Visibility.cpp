#include "X11Visibility.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace sentinax {

namespace {

// Replies and errors are freed with free().
template <typename T> struct Owned {
    T* p = nullptr;
    explicit Owned(T* value) : p(value) {}
    ~Owned() { std::free(p); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    T* operator->() const { return p; }
    explicit operator bool() const { return p != nullptr; }
};

uint32_t InternAtom(xcb_connection_t* c, const char* name) {
    const auto cookie = xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name);
    const Owned<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, cookie, nullptr));
    return reply ? reply->atom : 0;
}

} // namespace

X11Visibility::X11Visibility(const std::string& displayName) {
    connection_ = xcb_connect(displayName.empty() ? nullptr : displayName.c_str(), nullptr);
    if (xcb_connection_has_error(connection_)) {
        Disconnect();
        return;
    }
    pidAtom_ = InternAtom(connection_, "_NET_WM_PID");
}

X11Visibility::~X11Visibility() {
    Disconnect();
}

void X11Visibility::Disconnect() {
    if (connection_ != nullptr)
        xcb_disconnect(connection_);
    connection_ = nullptr;
    window_ = 0;
    covered_ = false;
}

bool X11Visibility::Connected() const {
    return connection_ != nullptr;
}

int X11Visibility::Fd() const {
    return connection_ != nullptr ? xcb_get_file_descriptor(connection_) : -1;
}

bool X11Visibility::Watch(uint32_t window, uint32_t pid) {
    window_ = 0;
    covered_ = false;
    if (connection_ == nullptr || window == 0 || pidAtom_ == 0)
        return false;
    // An id that does not exist here answers BadWindow: no reply.
    const auto cookie = xcb_get_property(connection_, 0, window, pidAtom_, XCB_ATOM_CARDINAL, 0, 1);
    xcb_generic_error_t* error = nullptr;
    const Owned<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection_, cookie, &error));
    std::free(error);
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.p) != 4)
        return false;
    uint32_t owner = 0;
    std::memcpy(&owner, xcb_get_property_value(reply.p), sizeof owner);
    if (owner != pid)
        return false;

    // Checked: when the answer is in, the server has carried the request out.
    const uint32_t mask = XCB_EVENT_MASK_VISIBILITY_CHANGE;
    const Owned<xcb_generic_error_t> refused(xcb_request_check(
        connection_,
        xcb_change_window_attributes_checked(connection_, window, XCB_CW_EVENT_MASK, &mask)));
    if (refused)
        return false;
    window_ = window;
    ReadEvents();
    return true;
}

bool X11Visibility::ReadEvents() {
    if (connection_ == nullptr)
        return false;
    const bool before = covered_;
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        const Owned<xcb_generic_event_t> owned(event);
        if ((event->response_type & 0x7F) != XCB_VISIBILITY_NOTIFY)
            continue; // errors of a window that went away, and nothing else is asked for
        const auto* visibility = reinterpret_cast<const xcb_visibility_notify_event_t*>(event);
        if (visibility->window == window_)
            covered_ = visibility->state == XCB_VISIBILITY_FULLY_OBSCURED;
    }
    if (xcb_connection_has_error(connection_))
        Disconnect();
    return covered_ != before;
}

} // namespace sentinax
