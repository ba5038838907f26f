// The client side of the two Wayland protocols through which a compositor
// tells other programs about its top-level windows, written as libwayland's
// interface tables: every request and event in the order (and with the
// version) the protocol defines them, since messages travel by their index.
//
// zwlr_foreign_toplevel_manager_v1 (wlroots desktops: sway, Hyprland, labwc,
// river, Wayfire), version 3:
//   requests: stop
//   events:   toplevel(new handle), finished
// zwlr_foreign_toplevel_handle_v1, version 3:
//   requests: set_maximized, unset_maximized, set_minimized, unset_minimized,
//             activate(seat), close, set_rectangle(surface, x, y, w, h),
//             destroy, set_fullscreen(output?) [2], unset_fullscreen [2]
//   events:   title(s), app_id(s), output_enter(output), output_leave(output),
//             state(array), done, closed, parent(handle?) [3]
//
// org_kde_plasma_window_management (KDE Plasma), up to version 18:
//   requests: show_desktop(u), get_window(new window, u),
//             get_window_by_uuid(new window, s) [12],
//             get_stacking_order(new stacking order) [17]
//   events:   show_desktop_changed(u), window(u), stacking_order_changed(a)
//             [11], stacking_order_uuid_changed(s) [12], window_with_uuid(u, s)
//             [13], stacking_order_changed_2 [17]
// org_kde_plasma_window, up to version 18: fifteen requests (destroy is the
//   eighth, since 4); events title_changed(s), app_id_changed(s),
//   state_changed(u), virtual_desktop_changed(i), themed_icon_name_changed(s),
//   unmapped, initial_state [4], parent_window(window?) [5], geometry [6],
//   icon_changed [7], pid_changed [8], virtual_desktop_entered [8],
//   virtual_desktop_left [8], application_menu [10], activity_entered [14],
//   activity_left [14], resource_name_changed [16], client_geometry [18].
#pragma once

#include <wayland-client-core.h>

#include <cstdint>

namespace sentinax::toplevel {

extern const wl_interface kWlrManager;
extern const wl_interface kWlrHandle;
extern const wl_interface kPlasmaManager;
extern const wl_interface kPlasmaWindow;

// The versions bound at most (the compositor may offer less).
constexpr uint32_t kWlrVersion = 3;
constexpr uint32_t kPlasmaVersion = 18;

// Request indexes used.
constexpr uint32_t kWlrManagerStop = 0;
constexpr uint32_t kWlrHandleDestroy = 7;
constexpr uint32_t kPlasmaGetWindow = 1;
constexpr uint32_t kPlasmaGetWindowByUuid = 2;
constexpr uint32_t kPlasmaWindowDestroy = 7;
constexpr uint32_t kPlasmaByUuidSince = 12;
constexpr uint32_t kPlasmaWindowWithUuidSince = 13;
constexpr uint32_t kPlasmaWindowDestroySince = 4;

} // namespace sentinax::toplevel
