#include "X11ScreenProbe.h"

#include <xcb/xcb.h>

namespace sentinax {

std::optional<ScreenInfo> ProbeX11Screen(const char* displayName) {
    if (!displayName || !*displayName) {
        return std::nullopt;
    }
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(displayName, &screenNumber);
    if (!connection || xcb_connection_has_error(connection)) {
        if (connection) {
            xcb_disconnect(connection);
        }
        return std::nullopt;
    }
    std::optional<ScreenInfo> info;
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; it.rem > 0; ++i, xcb_screen_next(&it)) {
        if (i == screenNumber) {
            info =
                ScreenInfo{it.data->width_in_pixels, it.data->height_in_pixels, it.data->root_depth,
                           it.data->width_in_millimeters, it.data->height_in_millimeters};
            break;
        }
    }
    xcb_disconnect(connection);
    return info;
}

} // namespace sentinax
