// The windows of the whole desktop: those of the X11 display ($DISPLAY: an X
// session, or XWayland's windows in a Wayland session) and the native windows
// of the Wayland compositor ($WAYLAND_DISPLAY). A title counts when either
// side has a window with it.
#pragma once

#include "WaylandWindowFinder.h"
#include "X11WindowFinder.h"

#include <algorithm>

namespace sentinax {

class DesktopWindowFinder final : public WindowFinder {
public:
    DesktopWindowFinder() = default;
    DesktopWindowFinder(std::string x11Display, std::string waylandDisplay)
        : x11_(std::move(x11Display)), wayland_(std::move(waylandDisplay)) {}

    bool WindowExists(const std::string& title) override {
        return FirstExisting(std::span<const std::string>(&title, 1)).has_value();
    }
    // The earlier of the two sides' first titles. The X11 side always gets the
    // whole list: it answers from its last scan while the list stays the same.
    std::optional<std::size_t> FirstExisting(std::span<const std::string> titles) override {
        const std::optional<std::size_t> native = wayland_.FirstExisting(titles);
        const std::optional<std::size_t> x11 = x11_.FirstExisting(titles);
        if (native && x11)
            return std::min(*native, *x11);
        return native ? native : x11;
    }
    std::string Limitation() override { return wayland_.Limitation(); }

    X11WindowFinder& X11() { return x11_; }
    WaylandWindowFinder& Wayland() { return wayland_; }

private:
    X11WindowFinder x11_;
    WaylandWindowFinder wayland_;
};

} // namespace sentinax
