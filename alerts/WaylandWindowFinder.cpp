#include "WaylandWindowFinder.h"

#include "ToplevelProtocols.h"

#include <wayland-client.h>

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace sentinax {

namespace {

// A compositor that refused a connection or went away is asked again after this.
constexpr std::chrono::seconds kConnectRetryPause{10};

std::uintptr_t Key(wl_proxy* proxy) {
    return reinterpret_cast<std::uintptr_t>(proxy);
}

} // namespace

// The event handlers, in the order of the protocols' events; each takes the
// proxy's user data and the proxy first. Arguments not needed are declared
// all the same, since libwayland calls through these exact types.
struct WaylandWindowFinder::Listeners {
    // zwlr_foreign_toplevel_handle_v1
    static void Title(void* data, wl_proxy* handle, const char* title) {
        static_cast<WaylandWindowFinder*>(data)->titles_.Set(Key(handle), title ? title : "");
    }
    static void AppId(void*, wl_proxy*, const char*) {}
    static void OutputEnter(void*, wl_proxy*, wl_proxy*) {}
    static void OutputLeave(void*, wl_proxy*, wl_proxy*) {}
    static void State(void*, wl_proxy*, wl_array*) {}
    static void Done(void*, wl_proxy*) {}
    static void Closed(void* data, wl_proxy* handle) {
        static_cast<WaylandWindowFinder*>(data)->titles_.Remove(Key(handle));
        wl_proxy_marshal_flags(handle, toplevel::kWlrHandleDestroy, nullptr,
                               wl_proxy_get_version(handle), WL_MARSHAL_FLAG_DESTROY);
    }
    static void Parent(void*, wl_proxy*, wl_proxy*) {}

    // zwlr_foreign_toplevel_manager_v1
    static void Toplevel(void* data, wl_proxy*, wl_proxy* handle) {
        wl_proxy_add_listener(handle, const_cast<void (**)(void)>(kWlrHandleTable), data);
    }
    static void Finished(void* data, wl_proxy*) {
        auto* finder = static_cast<WaylandWindowFinder*>(data);
        // The compositor stopped telling: the list goes stale, so it is
        // dropped; the next lookups find no native window.
        finder->titles_.Clear();
    }

    // org_kde_plasma_window
    static void PlasmaTitle(void* data, wl_proxy* window, const char* title) {
        Title(data, window, title);
    }
    static void PlasmaString(void*, wl_proxy*, const char*) {}
    static void PlasmaUint(void*, wl_proxy*, uint32_t) {}
    static void PlasmaInt(void*, wl_proxy*, int32_t) {}
    static void PlasmaNothing(void*, wl_proxy*) {}
    static void PlasmaUnmapped(void* data, wl_proxy* window) {
        static_cast<WaylandWindowFinder*>(data)->titles_.Remove(Key(window));
        const uint32_t version = wl_proxy_get_version(window);
        if (version >= toplevel::kPlasmaWindowDestroySince)
            wl_proxy_marshal_flags(window, toplevel::kPlasmaWindowDestroy, nullptr, version,
                                   WL_MARSHAL_FLAG_DESTROY);
        else
            wl_proxy_destroy(window);
    }
    static void PlasmaParent(void*, wl_proxy*, wl_proxy*) {}
    static void PlasmaGeometry(void*, wl_proxy*, int32_t, int32_t, uint32_t, uint32_t) {}
    static void PlasmaTwoStrings(void*, wl_proxy*, const char*, const char*) {}

    // org_kde_plasma_window_management
    static void ShowDesktop(void*, wl_proxy*, uint32_t) {}
    static void PlasmaWindow(void* data, wl_proxy* manager, uint32_t id) {
        auto* finder = static_cast<WaylandWindowFinder*>(data);
        // From the version that names windows by uuid on, the uuid event
        // follows and is the one used.
        if (finder->boundVersion_ >= toplevel::kPlasmaWindowWithUuidSince)
            return;
        wl_proxy* window =
            wl_proxy_marshal_flags(manager, toplevel::kPlasmaGetWindow, &toplevel::kPlasmaWindow,
                                   wl_proxy_get_version(manager), 0, nullptr, id);
        Watch(finder, window);
    }
    static void StackingArray(void*, wl_proxy*, wl_array*) {}
    static void StackingString(void*, wl_proxy*, const char*) {}
    static void PlasmaWindowUuid(void* data, wl_proxy* manager, uint32_t, const char* uuid) {
        auto* finder = static_cast<WaylandWindowFinder*>(data);
        wl_proxy* window = wl_proxy_marshal_flags(
            manager, toplevel::kPlasmaGetWindowByUuid, &toplevel::kPlasmaWindow,
            wl_proxy_get_version(manager), 0, nullptr, uuid ? uuid : "");
        Watch(finder, window);
    }
    static void StackingChanged(void*, wl_proxy*) {}

    static void Watch(WaylandWindowFinder* finder, wl_proxy* window) {
        if (window != nullptr)
            wl_proxy_add_listener(window, const_cast<void (**)(void)>(kPlasmaWindowTable), finder);
    }

    // wl_registry
    static void Global(void* data, wl_registry* registry, uint32_t name, const char* interface,
                       uint32_t version) {
        auto* finder = static_cast<WaylandWindowFinder*>(data);
        if (finder->manager_ != nullptr || interface == nullptr)
            return;
        const bool wlr = std::strcmp(interface, toplevel::kWlrManager.name) == 0;
        const bool plasma = std::strcmp(interface, toplevel::kPlasmaManager.name) == 0;
        if (!wlr && !plasma)
            return;
        const wl_interface* type = wlr ? &toplevel::kWlrManager : &toplevel::kPlasmaManager;
        const uint32_t bound =
            std::min(version, wlr ? toplevel::kWlrVersion : toplevel::kPlasmaVersion);
        auto* manager = static_cast<wl_proxy*>(wl_registry_bind(registry, name, type, bound));
        if (manager == nullptr)
            return;
        finder->manager_ = manager;
        finder->boundVersion_ = bound;
        finder->source_ = wlr ? Source::Wlr : Source::Plasma;
        wl_proxy_add_listener(
            manager, const_cast<void (**)(void)>(wlr ? kWlrManagerTable : kPlasmaManagerTable),
            finder);
    }
    static void GlobalRemove(void*, wl_registry*, uint32_t) {}

    using Fn = void (*)(void);
    static const Fn kWlrHandleTable[];
    static const Fn kWlrManagerTable[];
    static const Fn kPlasmaWindowTable[];
    static const Fn kPlasmaManagerTable[];
};

#define SX_FN(f) reinterpret_cast<WaylandWindowFinder::Listeners::Fn>(&f)
using L = WaylandWindowFinder::Listeners;
const L::Fn L::kWlrHandleTable[] = {
    SX_FN(L::Title), SX_FN(L::AppId), SX_FN(L::OutputEnter), SX_FN(L::OutputLeave),
    SX_FN(L::State), SX_FN(L::Done),  SX_FN(L::Closed),      SX_FN(L::Parent),
};
const L::Fn L::kWlrManagerTable[] = {SX_FN(L::Toplevel), SX_FN(L::Finished)};
const L::Fn L::kPlasmaWindowTable[] = {
    SX_FN(L::PlasmaTitle),      // title_changed
    SX_FN(L::PlasmaString),     // app_id_changed
    SX_FN(L::PlasmaUint),       // state_changed
    SX_FN(L::PlasmaInt),        // virtual_desktop_changed
    SX_FN(L::PlasmaString),     // themed_icon_name_changed
    SX_FN(L::PlasmaUnmapped),   // unmapped
    SX_FN(L::PlasmaNothing),    // initial_state
    SX_FN(L::PlasmaParent),     // parent_window
    SX_FN(L::PlasmaGeometry),   // geometry
    SX_FN(L::PlasmaNothing),    // icon_changed
    SX_FN(L::PlasmaUint),       // pid_changed
    SX_FN(L::PlasmaString),     // virtual_desktop_entered
    SX_FN(L::PlasmaString),     // virtual_desktop_left
    SX_FN(L::PlasmaTwoStrings), // application_menu
    SX_FN(L::PlasmaString),     // activity_entered
    SX_FN(L::PlasmaString),     // activity_left
    SX_FN(L::PlasmaString),     // resource_name_changed
    SX_FN(L::PlasmaGeometry),   // client_geometry
};
const L::Fn L::kPlasmaManagerTable[] = {
    SX_FN(L::ShowDesktop),    SX_FN(L::PlasmaWindow),     SX_FN(L::StackingArray),
    SX_FN(L::StackingString), SX_FN(L::PlasmaWindowUuid), SX_FN(L::StackingChanged),
};
#undef SX_FN

namespace {
const wl_registry_listener kRegistryListener = {&L::Global, &L::GlobalRemove};
} // namespace

WaylandWindowFinder::WaylandWindowFinder() {
    if (const char* display = std::getenv("WAYLAND_DISPLAY"))
        displayName_ = display;
}

WaylandWindowFinder::WaylandWindowFinder(std::string displayName)
    : displayName_(std::move(displayName)) {}

WaylandWindowFinder::~WaylandWindowFinder() {
    Disconnect();
}

// The window proxies go with the connection.
void WaylandWindowFinder::Disconnect() {
    titles_.Clear();
    manager_ = nullptr;
    registry_ = nullptr;
    source_ = Source::None;
    boundVersion_ = 0;
    if (display_ != nullptr) {
        wl_display_disconnect(display_);
        display_ = nullptr;
    }
}

bool WaylandWindowFinder::EnsureConnected() {
    if (display_ != nullptr)
        return true;
    if (displayName_.empty())
        return false;
    const auto now = std::chrono::steady_clock::now();
    if (now < nextConnectAttempt_)
        return false;
    nextConnectAttempt_ = now + kConnectRetryPause;
    display_ = wl_display_connect(displayName_.c_str());
    connectFailed_ = display_ == nullptr;
    if (display_ == nullptr)
        return false;
    registry_ = wl_display_get_registry(display_);
    wl_registry_add_listener(registry_, &kRegistryListener, this);
    // The globals, then the windows that exist, then their titles: the first
    // answer already knows every window. Three round trips, once.
    for (int i = 0; i < 3; ++i) {
        if (wl_display_roundtrip(display_) < 0) {
            Disconnect();
            connectFailed_ = true;
            return false;
        }
    }
    return true;
}

void WaylandWindowFinder::Pump() {
    if (wl_display_flush(display_) < 0 && errno != EAGAIN) {
        Disconnect();
        return;
    }
    while (wl_display_prepare_read(display_) != 0) {
        if (wl_display_dispatch_pending(display_) < 0) {
            Disconnect();
            return;
        }
    }
    pollfd ready{wl_display_get_fd(display_), POLLIN, 0};
    if (::poll(&ready, 1, 0) > 0) {
        if (wl_display_read_events(display_) < 0) {
            Disconnect();
            return;
        }
    } else {
        wl_display_cancel_read(display_);
    }
    if (wl_display_dispatch_pending(display_) < 0)
        Disconnect();
}

bool WaylandWindowFinder::WindowExists(const std::string& title) {
    return FirstExisting(std::span<const std::string>(&title, 1)).has_value();
}

std::optional<std::size_t> WaylandWindowFinder::FirstExisting(std::span<const std::string> titles) {
    if (titles.empty() || !EnsureConnected())
        return std::nullopt;
    Pump();
    if (display_ == nullptr)
        return std::nullopt;
    return titles_.FirstExisting(titles);
}

std::string WaylandWindowFinder::Limitation() {
    if (displayName_.empty())
        return {};
    EnsureConnected();
    if (connectFailed_)
        return "pausing by window title cannot see this session's Wayland windows (no connection "
               "to the compositor at " +
               displayName_ + "); X11 windows still count";
    if (display_ != nullptr && source_ == Source::None)
        return "pausing by window title is not available in this session: the compositor does "
               "not tell other programs the titles of its windows; X11 windows still count";
    return {};
}

} // namespace sentinax
