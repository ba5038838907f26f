// Whether one X11 window is wholly covered by other windows, as the X server
// tells it: VisibilityNotify events (unobscured, partially or fully obscured),
// asked for on a connection of our own so that the toolkit's own event mask
// on the window stays as it is. Qt does not pass this state on: a covered
// window stays "exposed" to it.
//
// Until the server reports a change after Watch, the window counts as not
// covered, so a server or window manager that never reports leaves the window
// treated as seen. The server reports every change of state, and a fresh state
// each time the window is mapped. Under a compositing manager every window is
// drawn off-screen and is never reported covered; so is a window with an
// alpha visual, which the server draws off-screen itself.
#pragma once

#include <cstdint>
#include <string>

struct xcb_connection_t;

namespace sentinax {

class X11Visibility {
public:
    // displayName: e.g. ":1"; empty: the display named by $DISPLAY. A display
    // that cannot be reached leaves an object that watches nothing.
    explicit X11Visibility(const std::string& displayName);
    ~X11Visibility();

    X11Visibility(const X11Visibility&) = delete;
    X11Visibility& operator=(const X11Visibility&) = delete;

    bool Connected() const;
    // The connection's socket, readable when events may have come; -1 when
    // not connected.
    int Fd() const;

    // Watches window from now on, in place of the previous one, when it exists
    // on this display and is a window of process pid (its _NET_WM_PID): a
    // window of the same id on another display is not ours to judge. The
    // request has reached the server when this returns, so a map that follows
    // is reported. False (watching nothing) otherwise.
    bool Watch(uint32_t window, uint32_t pid);
    uint32_t Watched() const { return window_; }

    // Takes every event that has come; true when Covered() changed. A broken
    // connection ends the watch (not covered).
    bool ReadEvents();
    bool Covered() const { return covered_; }

private:
    void Disconnect();

    xcb_connection_t* connection_ = nullptr;
    uint32_t window_ = 0;
    uint32_t pidAtom_ = 0;
    bool covered_ = false;
};

} // namespace sentinax
