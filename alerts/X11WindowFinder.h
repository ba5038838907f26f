// Window lookup by title on an X11 display through xcb. One connection is kept
// open (opened on first use); every lookup walks the top-level windows once:
// where a window manager keeps _NET_CLIENT_LIST, the listed windows and the
// root window's children; otherwise the root window's children, each replaced
// by its descendant that carries WM_STATE (the client inside a frame) where
// there is one. Unmapped and iconified windows count.
// Title: _NET_WM_NAME (UTF-8), else WM_NAME (STRING is Latin-1 and converted to
// UTF-8; UTF8_STRING is taken as it is).
//
// Without a display name (no $DISPLAY, e.g. a pure Wayland session) no window
// is ever found. When the server goes away the lookup finds nothing and the
// next lookup connects again; a connection that cannot be made is tried again
// only after a pause, so a dead display costs nothing on every tick.
#pragma once

#include "WindowFinder.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

struct xcb_connection_t;

namespace sentinax {

class X11WindowFinder final : public WindowFinder {
public:
    // The display named by $DISPLAY at construction.
    X11WindowFinder();
    // displayName: e.g. ":1"; empty: no display, nothing is ever found.
    explicit X11WindowFinder(std::string displayName);
    ~X11WindowFinder() override;

    X11WindowFinder(const X11WindowFinder&) = delete;
    X11WindowFinder& operator=(const X11WindowFinder&) = delete;

    bool WindowExists(const std::string& title) override;
    // One walk of the windows answers the whole list.
    std::optional<std::size_t> FirstExisting(std::span<const std::string> titles) override;

    // Full scans so far (the rest were answered from the last scan).
    unsigned Scans() const { return scans_; }

    // A scan's answer holds until a window is created, destroyed or
    // reparented, or a title, WM_STATE or the client list changes; a full
    // scan is made at least this often all the same.
    static constexpr unsigned kRescanEvery = 60;

private:
    bool EnsureConnected();
    void Disconnect();
    // Reads the events queued since the last scan; true when one of them may
    // change the answer.
    bool WindowsChanged();
    void Watch(const std::vector<uint32_t>& windows);
    std::optional<std::size_t> Scan(std::span<const std::string> titles,
                                    std::vector<uint32_t>& watched);

    std::string displayName_;
    xcb_connection_t* connection_ = nullptr;
    uint32_t root_ = 0;
    uint32_t atomClientList_ = 0;
    uint32_t atomNetWmName_ = 0;
    uint32_t atomUtf8String_ = 0;
    uint32_t atomWmState_ = 0;
    uint32_t atomCompoundText_ = 0;
    std::chrono::steady_clock::time_point nextConnectAttempt_{};

    std::vector<std::string> cachedTitles_;
    std::optional<std::size_t> cachedFirst_;
    bool cacheValid_ = false;
    unsigned callsSinceScan_ = 0;
    unsigned scans_ = 0;
};

} // namespace sentinax
