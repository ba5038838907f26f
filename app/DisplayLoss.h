// When the connection to the display breaks (the X server or the Wayland
// compositor died), Qt says so and ends the process at once, without
// unwinding the stack: the monitor's clean-up (the changed settings saved, the
// shared block and its lock released, the sound stopped) would never run.
// This watches Qt's messages for that notice and runs the clean-up first, once;
// every message still goes on to the handler that was there before.
#pragma once

#include <functional>
#include <string_view>

namespace sentinax {

class DisplayLoss {
public:
    // One clean-up for the process; a second Install replaces it.
    static void Install(std::function<void()> cleanUp);
    // Puts the previous message handler back; the clean-up is forgotten.
    static void Uninstall();
    // Whether a message of Qt's is its notice of a broken display connection.
    static bool IsLossNotice(std::string_view message);
};

} // namespace sentinax
