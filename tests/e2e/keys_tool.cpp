// sx-keys: the keys held down on a test X server ($DISPLAY), as the server
// itself holds them (XQueryKeymap), one keycode a line. Exits 0 when no key
// is down, 1 when some are, 2 when the server cannot be asked.
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>

int main() {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "sx-keys: no X display\n");
        xcb_disconnect(c);
        return 2;
    }
    xcb_query_keymap_reply_t* keymap = xcb_query_keymap_reply(c, xcb_query_keymap(c), nullptr);
    if (keymap == nullptr) {
        std::fprintf(stderr, "sx-keys: the server did not answer\n");
        xcb_disconnect(c);
        return 2;
    }
    int down = 0;
    for (int code = 0; code < 256; ++code) {
        if (keymap->keys[code / 8] & (1u << (code % 8))) {
            std::printf("%d\n", code);
            ++down;
        }
    }
    std::free(keymap);
    xcb_disconnect(c);
    return down == 0 ? 0 : 1;
}
