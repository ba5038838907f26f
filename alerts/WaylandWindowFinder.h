// Window lookup by title in a Wayland session: the compositor's list of
// top-level windows, through the wlr foreign-toplevel protocol (wlroots
// desktops) or KDE's plasma window management, whichever it offers. One
// connection of our own is kept open (opened on first use, to the display
// named by $WAYLAND_DISPLAY at construction); the titles arrive as events and
// are kept in a TitleSet, so a lookup only reads what the socket holds and
// answers from memory: no round trip per tick.
//
// A compositor that offers neither protocol (GNOME) shows none of its native
// windows: Limitation() says so. A compositor that goes away empties the list;
// the next lookup after a pause connects again.
#pragma once

#include "TitleSet.h"
#include "WindowFinder.h"

#include <chrono>
#include <cstdint>
#include <string>

struct wl_display;
struct wl_registry;
struct wl_proxy;

namespace sentinax {

class WaylandWindowFinder final : public WindowFinder {
public:
    // The display named by $WAYLAND_DISPLAY at construction (none: nothing
    // is ever found and nothing is missing).
    WaylandWindowFinder();
    // displayName: a socket name ("wayland-1") or path; empty: no display.
    explicit WaylandWindowFinder(std::string displayName);
    ~WaylandWindowFinder() override;

    WaylandWindowFinder(const WaylandWindowFinder&) = delete;
    WaylandWindowFinder& operator=(const WaylandWindowFinder&) = delete;

    bool WindowExists(const std::string& title) override;
    std::optional<std::size_t> FirstExisting(std::span<const std::string> titles) override;
    std::string Limitation() override;

    enum class Source { None, Wlr, Plasma };
    // Which protocol the open connection reads; None while not connected or
    // when the compositor offers neither.
    Source Reading() const { return source_; }
    // Windows known now.
    std::size_t Windows() const { return titles_.Windows(); }

    // Callbacks of the protocol listeners (public for the C tables only).
    struct Listeners;

private:
    bool EnsureConnected();
    void Disconnect();
    // Reads and handles what the socket holds, without waiting.
    void Pump();

    std::string displayName_;
    wl_display* display_ = nullptr;
    wl_registry* registry_ = nullptr;
    wl_proxy* manager_ = nullptr;
    Source source_ = Source::None;
    uint32_t boundVersion_ = 0;
    bool connectFailed_ = false;
    std::chrono::steady_clock::time_point nextConnectAttempt_{};
    TitleSet titles_;
};

} // namespace sentinax
