// sx-stack: tells whether one window is stacked above another on a test X
// server, the way a user would see them where they overlap.
//   sx-stack UPPER LOWER
// Each window is replaced by its top-level ancestor (a child of the root: the
// window itself without a window manager, its frame with one), and the two
// are compared in the root's stacking order (XQueryTree lists the children
// bottom first). Prints "UPPER at N, LOWER at M of K" and exits 0 when UPPER
// is above LOWER, 1 when it is not, 2 on an error.
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

// The ancestor of window that is a child of the root; 0 on an error.
xcb_window_t TopLevel(xcb_connection_t* c, xcb_window_t window) {
    for (int depth = 0; depth < 64; ++depth) {
        Reply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(c, xcb_query_tree(c, window), nullptr), &std::free);
        if (!tree)
            return 0;
        if (tree->parent == tree->root)
            return window;
        window = tree->parent;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: sx-stack UPPER LOWER (window ids)\n");
        return 2;
    }
    const auto upper = static_cast<xcb_window_t>(std::strtoul(argv[1], nullptr, 0));
    const auto lower = static_cast<xcb_window_t>(std::strtoul(argv[2], nullptr, 0));
    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "sx-stack: no display\n");
        return 2;
    }
    const xcb_window_t upperTop = TopLevel(c, upper);
    const xcb_window_t lowerTop = TopLevel(c, lower);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(c, xcb_query_tree(c, screen->root), nullptr), &std::free);
    if (!upperTop || !lowerTop || !tree) {
        std::fprintf(stderr, "sx-stack: no such window\n");
        xcb_disconnect(c);
        return 2;
    }
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    const int count = xcb_query_tree_children_length(tree.get());
    int upperAt = -1;
    int lowerAt = -1;
    for (int i = 0; i < count; ++i) {
        if (children[i] == upperTop)
            upperAt = i;
        if (children[i] == lowerTop)
            lowerAt = i;
    }
    xcb_disconnect(c);
    std::printf("%s at %d, %s at %d of %d\n", argv[1], upperAt, argv[2], lowerAt, count);
    if (upperAt < 0 || lowerAt < 0)
        return 2;
    return upperAt > lowerAt ? 0 : 1;
}
