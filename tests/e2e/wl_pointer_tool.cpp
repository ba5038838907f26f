// A person's mouse on a headless wlroots desktop (sway), which has no input
// device of its own: a virtual pointer (the wlr virtual-pointer protocol)
// moves the cursor and presses the left button, step by step.
// Usage: sx-wl-pointer WIDTH HEIGHT STEP...
//   move X Y    the cursor to (X, Y) of the output layout, WIDTH x HEIGHT
//   press       the left button down
//   release     the left button up
//   wait MS     lets the compositor and its clients answer
// A button still down when the steps end is released: the pointer device
// goes away with this process and must not take a held button with it.
#include <wayland-client.h>

#include <linux/input-event-codes.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

// The protocol's interfaces, written as libwayland tables: requests in the
// protocol's order (the wire uses the index), neither interface has events.
// (libwayland's tables are not const-correct: it never writes through them.)
const wl_interface* const kNone[] = {nullptr, nullptr, nullptr, nullptr, nullptr};
const wl_interface** const kNoTypes = const_cast<const wl_interface**>(kNone);
const wl_message kPointerRequests[] = {
    {"motion", "uff", kNoTypes},   {"motion_absolute", "uuuuu", kNoTypes},
    {"button", "uuu", kNoTypes},   {"axis", "uuf", kNoTypes},
    {"frame", "", kNoTypes},       {"axis_source", "u", kNoTypes},
    {"axis_stop", "uu", kNoTypes}, {"axis_discrete", "uufi", kNoTypes},
    {"destroy", "", kNoTypes},
};
const wl_interface kVirtualPointer = {"zwlr_virtual_pointer_v1", 2, 9,
                                      kPointerRequests,          0, nullptr};
const wl_interface* const kCreateTypes[] = {&wl_seat_interface, &kVirtualPointer};
const wl_message kManagerRequests[] = {
    {"create_virtual_pointer", "?on", const_cast<const wl_interface**>(kCreateTypes)},
    {"destroy", "", kNoTypes},
};
const wl_interface kManager = {
    "zwlr_virtual_pointer_manager_v1", 1, 2, kManagerRequests, 0, nullptr};

enum PointerRequest : uint32_t { kMotionAbsolute = 1, kButton = 2, kFrame = 4, kDestroy = 8 };
enum ManagerRequest : uint32_t { kCreate = 0, kManagerDestroy = 1 };

void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    if (std::strcmp(interface, kManager.name) == 0)
        *static_cast<wl_proxy**>(data) =
            static_cast<wl_proxy*>(wl_registry_bind(registry, name, &kManager, 1));
}
void OnGlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemove};

uint32_t NowMs() {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// Whole steps: a number that is not one ends the run with a usage error.
bool ToNumber(const char* text, unsigned long& value) {
    char* end = nullptr;
    value = std::strtoul(text, &end, 10);
    return end != text && *end == '\0';
}

} // namespace

int main(int argc, char** argv) {
    unsigned long width = 0, height = 0;
    if (argc < 3 || !ToNumber(argv[1], width) || !ToNumber(argv[2], height) || width == 0 ||
        height == 0) {
        std::fprintf(stderr, "usage: %s WIDTH HEIGHT [move X Y|press|release|wait MS]...\n",
                     argv[0]);
        return 2;
    }
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "no Wayland display\n");
        return 1;
    }
    wl_proxy* manager = nullptr;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistryListener, &manager);
    wl_display_roundtrip(display);
    if (manager == nullptr) {
        std::fprintf(stderr, "the compositor offers no virtual pointer\n");
        wl_display_disconnect(display);
        return 1;
    }
    // No seat named: the compositor's default seat.
    wl_proxy* pointer =
        wl_proxy_marshal_flags(manager, kCreate, &kVirtualPointer, 1, 0, nullptr, nullptr);
    auto send = [&](uint32_t opcode, auto... args) {
        wl_proxy_marshal_flags(pointer, opcode, nullptr, 1, 0, args...);
    };
    auto button = [&](bool down) {
        send(kButton, NowMs(), uint32_t{BTN_LEFT},
             uint32_t{down ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED});
        send(kFrame);
    };

    int status = 0;
    bool held = false;
    for (int i = 3; i < argc && status == 0; ++i) {
        const std::string step = argv[i];
        unsigned long x = 0, y = 0, ms = 0;
        if (step == "move" && i + 2 < argc && ToNumber(argv[i + 1], x) &&
            ToNumber(argv[i + 2], y) && x < width && y < height) {
            send(kMotionAbsolute, NowMs(), uint32_t(x), uint32_t(y), uint32_t(width),
                 uint32_t(height));
            send(kFrame);
            i += 2;
        } else if (step == "press" || step == "release") {
            held = step == "press";
            button(held);
        } else if (step == "wait" && i + 1 < argc && ToNumber(argv[i + 1], ms)) {
            wl_display_roundtrip(display);
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
            ++i;
        } else {
            std::fprintf(stderr, "bad step at \"%s\"\n", argv[i]);
            status = 2;
        }
        wl_display_flush(display);
    }
    if (held)
        button(false);
    wl_proxy_marshal_flags(pointer, kDestroy, nullptr, 1, WL_MARSHAL_FLAG_DESTROY);
    wl_proxy_marshal_flags(manager, kManagerDestroy, nullptr, 1, WL_MARSHAL_FLAG_DESTROY);
    if (wl_display_roundtrip(display) < 0 && status == 0) {
        std::fprintf(stderr, "the compositor closed the connection (protocol error %d)\n",
                     wl_display_get_error(display));
        status = 1;
    }
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return status;
}
