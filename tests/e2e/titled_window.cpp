// A top-level X11 window with the given title, mapped until the process is
// killed: stands in for a program whose window pauses the monitor.
// Usage: sx-titled-window TITLE [--unmapped]
#include <xcb/xcb.h>

#include <cstdio>
#include <cstring>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s TITLE [--unmapped]\n", argv[0]);
        return 2;
    }
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c))
        return 1;
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t w = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, w, screen->root, 0, 0, 120, 40, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        std::strlen(argv[1]), argv[1]);
    if (argc < 3 || std::strcmp(argv[2], "--unmapped") != 0)
        xcb_map_window(c, w);
    xcb_flush(c);
    std::printf("%u\n", w);
    std::fflush(stdout);
    for (;;)
        pause();
}
