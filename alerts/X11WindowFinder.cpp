#include "X11WindowFinder.h"

#include <xcb/xcb.h>

#include <csignal>
#include <ctime>
#include <pthread.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace sentinax {
namespace {

// A display that refused a connection is asked again after this pause.
constexpr std::chrono::seconds kConnectRetryPause{10};

// Frames of window managers nest the client one to three levels deep; deeper
// trees are not searched for WM_STATE.
constexpr int kMaxFrameDepth = 6;

// Replies are freed with free(); this holds one for the scope of a block.
template <typename T> struct Reply {
    T* p = nullptr;
    explicit Reply(T* reply) : p(reply) {}
    ~Reply() { std::free(p); }
    Reply(const Reply&) = delete;
    Reply& operator=(const Reply&) = delete;
    T* operator->() const { return p; }
    explicit operator bool() const { return p != nullptr; }
};

template <typename T> T* Take(T* reply, xcb_generic_error_t* error) {
    std::free(error); // a window that vanished mid-walk answers BadWindow
    return reply;
}

xcb_get_property_reply_t* PropertyReply(xcb_connection_t* c, xcb_get_property_cookie_t cookie) {
    xcb_generic_error_t* error = nullptr;
    return Take(xcb_get_property_reply(c, cookie, &error), error);
}

xcb_query_tree_reply_t* TreeReply(xcb_connection_t* c, xcb_query_tree_cookie_t cookie) {
    xcb_generic_error_t* error = nullptr;
    return Take(xcb_query_tree_reply(c, cookie, &error), error);
}

// libxcb writes with writev: a server that dies between its readiness check
// and the write would raise SIGPIPE and end the whole monitor. Keep SIGPIPE
// blocked for the lookup and swallow one that it raised.
class SigpipeBlock {
public:
    SigpipeBlock() {
        sigemptyset(&pipe_);
        sigaddset(&pipe_, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipe_, &saved_);
        sigset_t pending;
        sigpending(&pending);
        wasPending_ = sigismember(&pending, SIGPIPE) == 1;
    }
    ~SigpipeBlock() {
        sigset_t pending;
        sigpending(&pending);
        if (!wasPending_ && sigismember(&pending, SIGPIPE) == 1) {
            const timespec zero{};
            sigtimedwait(&pipe_, nullptr, &zero);
        }
        pthread_sigmask(SIG_SETMASK, &saved_, nullptr);
    }
    SigpipeBlock(const SigpipeBlock&) = delete;
    SigpipeBlock& operator=(const SigpipeBlock&) = delete;

private:
    sigset_t pipe_{};
    sigset_t saved_{};
    bool wasPending_ = false;
};

void AppendLatin1AsUtf8(std::string& out, const uint8_t* bytes, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) {
        const uint8_t b = bytes[i];
        if (b < 0x80) {
            out.push_back(static_cast<char>(b));
        } else {
            out.push_back(static_cast<char>(0xC0 | (b >> 6)));
            out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
        }
    }
}

} // namespace

X11WindowFinder::X11WindowFinder() {
    if (const char* display = std::getenv("DISPLAY")) {
        displayName_ = display;
    }
}

X11WindowFinder::X11WindowFinder(std::string displayName) : displayName_(std::move(displayName)) {}

X11WindowFinder::~X11WindowFinder() {
    Disconnect();
}

void X11WindowFinder::Disconnect() {
    if (connection_ != nullptr) {
        xcb_disconnect(connection_);
        connection_ = nullptr;
    }
    cacheValid_ = false;
}

namespace {
constexpr uint32_t kWatchMask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE;
} // namespace

void X11WindowFinder::Watch(const std::vector<uint32_t>& windows) {
    // Other programs' windows may be watched too: every client has its own
    // event mask on a window. A window gone meanwhile answers an error event,
    // which is ignored.
    for (uint32_t window : windows)
        xcb_change_window_attributes(connection_, window, XCB_CW_EVENT_MASK, &kWatchMask);
    // Wait until the server has taken the masks, so that no change made right
    // after this scan goes unseen. Scans are rare, so the round trip is cheap.
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
}

bool X11WindowFinder::WindowsChanged() {
    bool changed = false;
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        switch (event->response_type & 0x7F) {
        case XCB_CREATE_NOTIFY:
        case XCB_DESTROY_NOTIFY:
        case XCB_REPARENT_NOTIFY:
            changed = true;
            break;
        case XCB_PROPERTY_NOTIFY: {
            const auto* property = reinterpret_cast<xcb_property_notify_event_t*>(event);
            const uint32_t atom = property->atom;
            if (atom == XCB_ATOM_WM_NAME || atom == atomNetWmName_ || atom == atomWmState_ ||
                atom == atomClientList_)
                changed = true;
            break;
        }
        default: // moves, maps, errors for windows that went away
            break;
        }
        std::free(event);
    }
    if (xcb_connection_has_error(connection_)) {
        Disconnect();
        return true;
    }
    return changed;
}

bool X11WindowFinder::EnsureConnected() {
    if (connection_ != nullptr) {
        return true;
    }
    if (displayName_.empty()) {
        return false;
    }
    const auto now = std::chrono::steady_clock::now();
    if (now < nextConnectAttempt_) {
        return false;
    }
    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(displayName_.c_str(), &screenNumber);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        nextConnectAttempt_ = now + kConnectRetryPause;
        return false;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i) {
        xcb_screen_next(&screens);
    }
    if (screens.rem == 0) {
        xcb_disconnect(c);
        nextConnectAttempt_ = now + kConnectRetryPause;
        return false;
    }
    root_ = screens.data->root;

    static constexpr std::array<const char*, 5> kNames = {
        "_NET_CLIENT_LIST", "_NET_WM_NAME", "UTF8_STRING", "WM_STATE", "COMPOUND_TEXT"};
    std::array<xcb_intern_atom_cookie_t, kNames.size()> cookies{};
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        cookies[i] =
            xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(kNames[i])), kNames[i]);
    }
    std::array<uint32_t, kNames.size()> atoms{};
    bool ok = true;
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        xcb_generic_error_t* error = nullptr;
        Reply reply(Take(xcb_intern_atom_reply(c, cookies[i], &error), error));
        if (reply) {
            atoms[i] = reply->atom;
        } else {
            ok = false;
        }
    }
    if (!ok) {
        xcb_disconnect(c);
        nextConnectAttempt_ = now + kConnectRetryPause;
        return false;
    }
    atomClientList_ = atoms[0];
    atomNetWmName_ = atoms[1];
    atomUtf8String_ = atoms[2];
    atomWmState_ = atoms[3];
    atomCompoundText_ = atoms[4];
    connection_ = c;
    cacheValid_ = false;
    xcb_change_window_attributes(c, root_, XCB_CW_EVENT_MASK, &kWatchMask);
    return true;
}

namespace {

struct NameCookies {
    xcb_get_property_cookie_t net;
    xcb_get_property_cookie_t plain;
};

// Asks for window titles and matches the answers against the wanted titles.
class TitleMatcher {
public:
    TitleMatcher(xcb_connection_t* c, uint32_t netWmName, uint32_t utf8, uint32_t compoundText,
                 std::span<const std::string> titles)
        : c_(c), netWmName_(netWmName), utf8_(utf8), compoundText_(compoundText), titles_(titles) {
        // Only as much of each title as could still match is fetched: a
        // property longer than the longest wanted title reports bytes left
        // over. Latin-1 never gets shorter as UTF-8, so the same limit serves
        // WM_NAME.
        std::size_t longest = 0;
        for (const std::string& title : titles) {
            longest = std::max(longest, title.size());
        }
        units_ = static_cast<uint32_t>(longest / 4 + 1);
    }

    NameCookies Request(uint32_t window) const {
        return {xcb_get_property(c_, 0, window, netWmName_, utf8_, 0, units_),
                xcb_get_property(c_, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0,
                                 units_)};
    }

    void Discard(const NameCookies& cookies) const {
        xcb_discard_reply(c_, cookies.net.sequence);
        xcb_discard_reply(c_, cookies.plain.sequence);
    }

    void Match(const NameCookies& cookies) {
        Reply netName(PropertyReply(c_, cookies.net));
        Reply wmName(PropertyReply(c_, cookies.plain));
        name_.clear();
        if (netName && netName->type == utf8_ && netName->format == 8) {
            if (netName->bytes_after != 0) {
                return;
            }
            const auto* bytes = static_cast<const char*>(xcb_get_property_value(netName.p));
            name_.assign(bytes, static_cast<std::size_t>(xcb_get_property_value_length(netName.p)));
        } else if (wmName && wmName->format == 8 && wmName->bytes_after == 0) {
            const auto* bytes = static_cast<const uint8_t*>(xcb_get_property_value(wmName.p));
            const auto length = static_cast<std::size_t>(xcb_get_property_value_length(wmName.p));
            const bool plainCompound = wmName->type == compoundText_ &&
                                       std::find(bytes, bytes + length, 0x1B) == bytes + length;
            if (wmName->type == XCB_ATOM_STRING || plainCompound) {
                // Compound text without escape sequences is Latin-1 as well.
                AppendLatin1AsUtf8(name_, bytes, length);
            } else if (wmName->type == utf8_) {
                name_.assign(reinterpret_cast<const char*>(bytes), length);
            } else {
                return;
            }
        } else {
            return;
        }
        const std::size_t limit = first_.value_or(titles_.size());
        for (std::size_t t = 0; t < limit; ++t) {
            if (titles_[t] == name_) {
                first_ = t;
                return;
            }
        }
    }

    std::optional<std::size_t> First() const { return first_; }

private:
    xcb_connection_t* c_;
    uint32_t netWmName_;
    uint32_t utf8_;
    uint32_t compoundText_;
    std::span<const std::string> titles_;
    uint32_t units_ = 1;
    std::string name_;
    std::optional<std::size_t> first_;
};

} // namespace

bool X11WindowFinder::WindowExists(const std::string& title) {
    return FirstExisting(std::span<const std::string>(&title, 1)).has_value();
}

std::optional<std::size_t> X11WindowFinder::FirstExisting(std::span<const std::string> titles) {
    if (titles.empty() || displayName_.empty()) {
        return std::nullopt;
    }
    if (connection_ == nullptr) {
        const SigpipeBlock noSigpipe;
        if (!EnsureConnected()) {
            return std::nullopt;
        }
    }
    const bool sameTitles = cacheValid_ && std::equal(titles.begin(), titles.end(),
                                                      cachedTitles_.begin(), cachedTitles_.end());
    // Only reads (no SIGPIPE to fear): the answer of most ticks costs one
    // read of the socket and no signal-mask calls.
    const bool changed = WindowsChanged(); // also drains what queued up
    if (connection_ == nullptr)
        return std::nullopt;
    if (sameTitles && !changed && ++callsSinceScan_ < kRescanEvery)
        return cachedFirst_;

    const SigpipeBlock noSigpipe;
    std::vector<uint32_t> watched;
    const std::optional<std::size_t> first = Scan(titles, watched);
    if (connection_ == nullptr)
        return std::nullopt;
    Watch(watched);
    ++scans_;
    callsSinceScan_ = 0;
    cachedTitles_.assign(titles.begin(), titles.end());
    cachedFirst_ = first;
    cacheValid_ = true;
    return first;
}

std::optional<std::size_t> X11WindowFinder::Scan(std::span<const std::string> titles,
                                                 std::vector<uint32_t>& watched) {
    xcb_connection_t* c = connection_;
    TitleMatcher matcher(c, atomNetWmName_, atomUtf8String_, atomCompoundText_, titles);

    const auto listCookie =
        xcb_get_property(c, 0, root_, atomClientList_, XCB_ATOM_WINDOW, 0, 1u << 16);
    const auto rootTreeCookie = xcb_query_tree(c, root_);
    Reply clientList(PropertyReply(c, listCookie));
    Reply rootTree(TreeReply(c, rootTreeCookie));
    if (!rootTree) {
        Disconnect();
        return std::nullopt;
    }
    const auto* tops = xcb_query_tree_children(rootTree.p);
    const auto topCount = static_cast<std::size_t>(xcb_query_tree_children_length(rootTree.p));
    std::vector<NameCookies> names;

    if (clientList && clientList->type == XCB_ATOM_WINDOW && clientList->format == 32 &&
        xcb_get_property_value_length(clientList.p) > 0) {
        // A window manager lists every window it manages, iconified ones
        // included; what it does not manage (withdrawn or never shown windows,
        // pop-ups) stays a child of the root and counts as it is.
        const auto* listed = static_cast<const uint32_t*>(xcb_get_property_value(clientList.p));
        std::vector<uint32_t> windows(listed,
                                      listed + xcb_get_property_value_length(clientList.p) / 4);
        windows.insert(windows.end(), tops, tops + topCount);
        std::sort(windows.begin(), windows.end());
        windows.erase(std::unique(windows.begin(), windows.end()), windows.end());
        names.reserve(windows.size());
        for (uint32_t window : windows) {
            names.push_back(matcher.Request(window));
        }
        watched = windows;
    } else {
        // No list: each root child stands for the first window carrying
        // WM_STATE found level by level below it (itself included), or for
        // itself when there is none. The root children's titles are asked for
        // together with the first level, so a desktop without frames costs
        // two round trips in all.
        std::vector<NameCookies> topNames;
        topNames.reserve(topCount);
        std::vector<uint32_t> resolved(topCount, XCB_WINDOW_NONE);
        struct Probe {
            std::size_t top;
            uint32_t window;
        };
        std::vector<Probe> level;
        level.reserve(topCount);
        for (std::size_t i = 0; i < topCount; ++i) {
            level.push_back({i, tops[i]});
        }
        std::vector<xcb_get_property_cookie_t> stateCookies;
        std::vector<xcb_query_tree_cookie_t> treeCookies;
        std::vector<Probe> next;
        for (int depth = 0; depth <= kMaxFrameDepth && !level.empty(); ++depth) {
            stateCookies.clear();
            treeCookies.clear();
            const bool lastLevel = depth == kMaxFrameDepth;
            for (const Probe& probe : level) {
                watched.push_back(probe.window);
                stateCookies.push_back(xcb_get_property(c, 0, probe.window, atomWmState_,
                                                        XCB_GET_PROPERTY_TYPE_ANY, 0, 0));
                if (!lastLevel) {
                    treeCookies.push_back(xcb_query_tree(c, probe.window));
                }
                if (depth == 0) {
                    topNames.push_back(matcher.Request(probe.window));
                }
            }
            for (std::size_t i = 0; i < level.size(); ++i) {
                const Probe& probe = level[i];
                Reply state(PropertyReply(c, stateCookies[i]));
                if (state && state->type != XCB_ATOM_NONE &&
                    resolved[probe.top] == XCB_WINDOW_NONE) {
                    resolved[probe.top] = probe.window;
                }
            }
            next.clear();
            for (std::size_t i = 0; i < treeCookies.size(); ++i) {
                Reply tree(TreeReply(c, treeCookies[i]));
                const Probe& probe = level[i];
                if (!tree || resolved[probe.top] != XCB_WINDOW_NONE) {
                    continue;
                }
                const auto* children = xcb_query_tree_children(tree.p);
                const int childCount = xcb_query_tree_children_length(tree.p);
                for (int k = 0; k < childCount; ++k) {
                    next.push_back({probe.top, children[k]});
                }
            }
            level.swap(next);
        }
        for (std::size_t i = 0; i < topCount; ++i) {
            if (resolved[i] == XCB_WINDOW_NONE || resolved[i] == tops[i]) {
                names.push_back(topNames[i]);
            } else {
                matcher.Discard(topNames[i]);
                names.push_back(matcher.Request(resolved[i]));
            }
        }
    }
    for (const NameCookies& cookies : names) {
        matcher.Match(cookies);
    }
    if (xcb_connection_has_error(c)) {
        Disconnect();
        return std::nullopt;
    }
    return matcher.First();
}

} // namespace sentinax
