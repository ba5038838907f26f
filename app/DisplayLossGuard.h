// Ends the program in order when its display connection is lost.
//
// When the X server goes away (it crashed or restarted, a remote session
// closed) Qt's xcb platform says "The X11 connection broke" and ends the
// process with exit(1); its Wayland platform ends it through a fatal message.
// Neither returns to the event loop, so the window's own clean-up never runs:
// changed limits would be lost and /HMShared left behind, where readers take
// its last values for live ones.
//
// While armed, the guard runs a clean-up that needs no display (the monitor's
// MainController::CleanUpWithoutDisplay: the exit helper, the library, the
// shared block and its lock, the settings) once, at the first of:
//  - Qt's message about the broken connection, before Qt ends the process
//    (a fatal one then ends it with status 1, not a crash); under Wayland it
//    may come from Qt's event thread, and a second notice from the main
//    thread waits until the clean-up is done;
//  - any other fatal message of Qt on the main thread;
//  - an exit of the process (an exit handler), whatever called it.
// Each time it says so on stderr. Disarm it once the ordinary clean-up ran.
#pragma once

#include <QString>

namespace sentinax {

class DisplayLossGuard {
public:
    using CleanUp = void (*)(void* context);

    // Installs the message hook (keeping Qt's own output) and the exit
    // handler on first use.
    static void Arm(CleanUp cleanUp, void* context);
    static void Disarm();

    // Whether a message of Qt's platform plugins says the display connection
    // broke.
    static bool IsDisplayLossMessage(const QString& message);
};

} // namespace sentinax
