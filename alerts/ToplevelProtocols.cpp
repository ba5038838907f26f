#include "ToplevelProtocols.h"

#include <wayland-client-protocol.h>

namespace sentinax::toplevel {

namespace {

const wl_interface* const kNone[] = {nullptr, nullptr, nullptr, nullptr, nullptr};
const wl_interface* const kSeat[] = {&wl_seat_interface};
const wl_interface* const kSurfaceRect[] = {&wl_surface_interface, nullptr, nullptr, nullptr,
                                            nullptr};
const wl_interface* const kSurface[] = {&wl_surface_interface};
const wl_interface* const kOutput[] = {&wl_output_interface};
const wl_interface* const kWlrHandleType[] = {&kWlrHandle};
const wl_interface* const kPlasmaWindowType[] = {&kPlasmaWindow, nullptr};

// The types arrays are read only for their first entries; kNone covers the
// messages whose arguments are plain values.
#define SX_MSG(name, signature, types)                                                             \
    wl_message {                                                                                   \
        name, signature, const_cast<const wl_interface**>(types)                                   \
    }

const wl_message kWlrManagerRequests[] = {
    SX_MSG("stop", "", kNone),
};
const wl_message kWlrManagerEvents[] = {
    SX_MSG("toplevel", "n", kWlrHandleType),
    SX_MSG("finished", "", kNone),
};
const wl_message kWlrHandleRequests[] = {
    SX_MSG("set_maximized", "", kNone),
    SX_MSG("unset_maximized", "", kNone),
    SX_MSG("set_minimized", "", kNone),
    SX_MSG("unset_minimized", "", kNone),
    SX_MSG("activate", "o", kSeat),
    SX_MSG("close", "", kNone),
    SX_MSG("set_rectangle", "oiiii", kSurfaceRect),
    SX_MSG("destroy", "", kNone),
    SX_MSG("set_fullscreen", "2?o", kOutput),
    SX_MSG("unset_fullscreen", "2", kNone),
};
const wl_message kWlrHandleEvents[] = {
    SX_MSG("title", "s", kNone),          SX_MSG("app_id", "s", kNone),
    SX_MSG("output_enter", "o", kOutput), SX_MSG("output_leave", "o", kOutput),
    SX_MSG("state", "a", kNone),          SX_MSG("done", "", kNone),
    SX_MSG("closed", "", kNone),          SX_MSG("parent", "3?o", kWlrHandleType),
};

// Never created here; named so the manager's table is complete.
const wl_message kStackingOrderEvents[] = {
    SX_MSG("window", "s", kNone),
    SX_MSG("done", "", kNone),
};
const wl_interface kPlasmaStackingOrder = {
    "org_kde_plasma_stacking_order", 17, 0, nullptr, 2, kStackingOrderEvents};
const wl_interface* const kStackingOrderType[] = {&kPlasmaStackingOrder};

const wl_message kPlasmaManagerRequests[] = {
    SX_MSG("show_desktop", "u", kNone),
    SX_MSG("get_window", "nu", kPlasmaWindowType),
    SX_MSG("get_window_by_uuid", "12ns", kPlasmaWindowType),
    SX_MSG("get_stacking_order", "17n", kStackingOrderType),
};
const wl_message kPlasmaManagerEvents[] = {
    SX_MSG("show_desktop_changed", "u", kNone),
    SX_MSG("window", "u", kNone),
    SX_MSG("stacking_order_changed", "11a", kNone),
    SX_MSG("stacking_order_uuid_changed", "12s", kNone),
    SX_MSG("window_with_uuid", "13us", kNone),
    SX_MSG("stacking_order_changed_2", "17", kNone),
};
const wl_message kPlasmaWindowRequests[] = {
    SX_MSG("set_state", "uu", kNone),
    SX_MSG("set_virtual_desktop", "u", kNone),
    SX_MSG("set_minimized_geometry", "ouuuu", kSurfaceRect),
    SX_MSG("unset_minimized_geometry", "o", kSurface),
    SX_MSG("close", "", kNone),
    SX_MSG("request_move", "3", kNone),
    SX_MSG("request_resize", "3", kNone),
    SX_MSG("destroy", "4", kNone),
    SX_MSG("get_icon", "7h", kNone),
    SX_MSG("request_enter_virtual_desktop", "8s", kNone),
    SX_MSG("request_enter_new_virtual_desktop", "8", kNone),
    SX_MSG("request_leave_virtual_desktop", "8s", kNone),
    SX_MSG("request_enter_activity", "14s", kNone),
    SX_MSG("request_leave_activity", "14s", kNone),
    SX_MSG("send_to_output", "15o", kOutput),
};
const wl_interface* const kPlasmaParentType[] = {&kPlasmaWindow};
const wl_message kPlasmaWindowEvents[] = {
    SX_MSG("title_changed", "s", kNone),
    SX_MSG("app_id_changed", "s", kNone),
    SX_MSG("state_changed", "u", kNone),
    SX_MSG("virtual_desktop_changed", "i", kNone),
    SX_MSG("themed_icon_name_changed", "s", kNone),
    SX_MSG("unmapped", "", kNone),
    SX_MSG("initial_state", "4", kNone),
    SX_MSG("parent_window", "5?o", kPlasmaParentType),
    SX_MSG("geometry", "6iiuu", kNone),
    SX_MSG("icon_changed", "7", kNone),
    SX_MSG("pid_changed", "8u", kNone),
    SX_MSG("virtual_desktop_entered", "8s", kNone),
    SX_MSG("virtual_desktop_left", "8s", kNone),
    SX_MSG("application_menu", "10ss", kNone),
    SX_MSG("activity_entered", "14s", kNone),
    SX_MSG("activity_left", "14s", kNone),
    SX_MSG("resource_name_changed", "16s", kNone),
    SX_MSG("client_geometry", "18iiuu", kNone),
};

#undef SX_MSG

template <typename T, std::size_t N> constexpr int Count(const T (&)[N]) {
    return static_cast<int>(N);
}

} // namespace

const wl_interface kWlrManager = {"zwlr_foreign_toplevel_manager_v1", 3,
                                  Count(kWlrManagerRequests),         kWlrManagerRequests,
                                  Count(kWlrManagerEvents),           kWlrManagerEvents};
const wl_interface kWlrHandle = {"zwlr_foreign_toplevel_handle_v1", 3,
                                 Count(kWlrHandleRequests),         kWlrHandleRequests,
                                 Count(kWlrHandleEvents),           kWlrHandleEvents};
const wl_interface kPlasmaManager = {"org_kde_plasma_window_management", 18,
                                     Count(kPlasmaManagerRequests),      kPlasmaManagerRequests,
                                     Count(kPlasmaManagerEvents),        kPlasmaManagerEvents};
const wl_interface kPlasmaWindow = {"org_kde_plasma_window",      18,
                                    Count(kPlasmaWindowRequests), kPlasmaWindowRequests,
                                    Count(kPlasmaWindowEvents),   kPlasmaWindowEvents};

} // namespace sentinax::toplevel
