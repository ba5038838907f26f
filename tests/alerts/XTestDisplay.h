// A private Xvfb server for tests and benchmarks, and a small xcb client that
// makes windows with titles on it. Header-only so the benchmark can share it.
#pragma once

#include <xcb/xcb.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace sentinax::testing {

class XvfbServer {
public:
    XvfbServer() = default;
    ~XvfbServer() { Stop(); }
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    static bool Installed() {
        const char* path = std::getenv("PATH");
        std::string dirs = path != nullptr ? path : "/usr/bin:/bin";
        std::size_t start = 0;
        while (start <= dirs.size()) {
            std::size_t end = dirs.find(':', start);
            if (end == std::string::npos) {
                end = dirs.size();
            }
            const std::string candidate = dirs.substr(start, end - start) + "/Xvfb";
            if (::access(candidate.c_str(), X_OK) == 0) {
                return true;
            }
            start = end + 1;
        }
        return false;
    }

    // Starts Xvfb on a free display (displayNumber < 0) or on the given one and
    // waits until it accepts connections. False when it did not come up.
    bool Start(int displayNumber = -1) {
        int fds[2];
        if (::pipe(fds) != 0) {
            return false;
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            const std::string display = ":" + std::to_string(displayNumber);
            // -noreset: the server stays up when its last client leaves.
            std::vector<const char*> args = {"Xvfb", "-noreset"};
            if (displayNumber >= 0) {
                args.push_back(display.c_str());
            }
            for (const char* a :
                 {"-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0", "320x240x24"}) {
                args.push_back(a);
            }
            args.push_back(nullptr);
            const int devNull = ::open("/dev/null", O_WRONLY);
            ::dup2(devNull, 1);
            ::dup2(devNull, 2);
            ::execvp(args[0], const_cast<char* const*>(args.data()));
            ::_exit(127);
        }
        ::close(fds[1]);
        if (pid_ < 0) {
            ::close(fds[0]);
            return false;
        }
        std::string number;
        pollfd p{fds[0], POLLIN, 0};
        char ch = 0;
        while (::poll(&p, 1, 10000) > 0 && ::read(fds[0], &ch, 1) == 1 && ch != '\n') {
            number.push_back(ch);
        }
        ::close(fds[0]);
        if (number.empty()) {
            Stop();
            return false;
        }
        display_ = ":" + number;
        return true;
    }

    void Stop() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
        pid_ = -1;
    }

    const std::string& Display() const { return display_; }
    int Number() const { return display_.empty() ? -1 : std::atoi(display_.c_str() + 1); }

private:
    pid_t pid_ = -1;
    std::string display_;
};

// Makes top-level windows and sets their title properties, as a program or a
// window manager would.
class TitleClient {
public:
    explicit TitleClient(const std::string& display) {
        int screen = 0;
        c_ = xcb_connect(display.c_str(), &screen);
        if (xcb_connection_has_error(c_)) {
            return;
        }
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c_));
        for (int i = 0; i < screen; ++i) {
            xcb_screen_next(&it);
        }
        root_ = it.data->root;
        utf8_ = Atom("UTF8_STRING");
        netWmName_ = Atom("_NET_WM_NAME");
        wmState_ = Atom("WM_STATE");
        clientList_ = Atom("_NET_CLIENT_LIST");
    }
    ~TitleClient() { xcb_disconnect(c_); }
    TitleClient(const TitleClient&) = delete;
    TitleClient& operator=(const TitleClient&) = delete;

    bool Ok() const { return !xcb_connection_has_error(c_); }
    xcb_window_t Root() const { return root_; }

    uint32_t Atom(const char* name) {
        auto cookie = xcb_intern_atom(c_, 0, static_cast<uint16_t>(std::strlen(name)), name);
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c_, cookie, nullptr);
        const uint32_t atom = reply != nullptr ? reply->atom : 0;
        std::free(reply);
        return atom;
    }

    xcb_window_t Window(bool mapped = true, xcb_window_t parent = 0) {
        const xcb_window_t w = xcb_generate_id(c_);
        xcb_create_window(c_, XCB_COPY_FROM_PARENT, w, parent != 0 ? parent : root_, 0, 0, 10, 10,
                          0, XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
        if (mapped) {
            xcb_map_window(c_, w);
        }
        return w;
    }

    void NetWmName(xcb_window_t w, const std::string& utf8) {
        Property(w, netWmName_, utf8_, utf8);
    }
    // WM_NAME as a Latin-1 STRING; `latin1` holds the raw bytes.
    void WmName(xcb_window_t w, const std::string& latin1) {
        Property(w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, latin1);
    }
    void Property(xcb_window_t w, uint32_t name, uint32_t type, const std::string& bytes) {
        xcb_change_property(c_, XCB_PROP_MODE_REPLACE, w, name, type, 8,
                            static_cast<uint32_t>(bytes.size()), bytes.data());
    }
    // What a window manager puts on a client it manages.
    void MarkManaged(xcb_window_t w) {
        const uint32_t state[2] = {1, 0}; // NormalState, no icon window
        xcb_change_property(c_, XCB_PROP_MODE_REPLACE, w, wmState_, wmState_, 32, 2, state);
    }
    void ClientList(const std::vector<xcb_window_t>& windows) {
        xcb_change_property(c_, XCB_PROP_MODE_REPLACE, root_, clientList_, XCB_ATOM_WINDOW, 32,
                            static_cast<uint32_t>(windows.size()), windows.data());
    }
    void Destroy(xcb_window_t w) { xcb_destroy_window(c_, w); }
    void Map(xcb_window_t w) { xcb_map_window(c_, w); }
    void Unmap(xcb_window_t w) { xcb_unmap_window(c_, w); }
    void Raise(xcb_window_t w) {
        const uint32_t above = XCB_STACK_MODE_ABOVE;
        xcb_configure_window(c_, w, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    }
    void Place(xcb_window_t w, int x, int y, int width, int height) {
        const uint32_t values[] = {static_cast<uint32_t>(x), static_cast<uint32_t>(y),
                                   static_cast<uint32_t>(width), static_cast<uint32_t>(height)};
        xcb_configure_window(c_, w,
                             XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                                 XCB_CONFIG_WINDOW_HEIGHT,
                             values);
    }
    // One 32-bit CARDINAL, e.g. _NET_WM_PID.
    void Cardinal(xcb_window_t w, uint32_t name, uint32_t value) {
        xcb_change_property(c_, XCB_PROP_MODE_REPLACE, w, name, XCB_ATOM_CARDINAL, 32, 1, &value);
    }

    // Returns once the server has carried out every request sent so far.
    void Sync() { std::free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr)); }

private:
    xcb_connection_t* c_ = nullptr;
    xcb_window_t root_ = 0;
    uint32_t utf8_ = 0;
    uint32_t netWmName_ = 0;
    uint32_t wmState_ = 0;
    uint32_t clientList_ = 0;
};

} // namespace sentinax::testing
