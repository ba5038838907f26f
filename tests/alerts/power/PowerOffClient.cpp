// Calls ShutdownSystem() once in a process of its own, so that its system-bus
// connection is made to the bus the test chose. Prints "returned" when the
// call is back, then keeps the connection open until standard input closes
// (the request is sent without waiting, so exiting at once could drop it).
// Refuses to run unless DBUS_SYSTEM_BUS_ADDRESS is set: it must never reach
// the machine's own system bus.
#include "alerts/power/PowerOff.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

int main(int argc, char** argv) {
    const char* address = std::getenv("DBUS_SYSTEM_BUS_ADDRESS");
    if (!address || !*address) {
        std::fprintf(stderr, "poweroff_client: DBUS_SYSTEM_BUS_ADDRESS must name a test bus\n");
        return 2;
    }
    QCoreApplication app(argc, argv);
    sentinax::ShutdownSystem();
    std::printf("returned\n");
    std::fflush(stdout);

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char buffer[64];
        if (read(STDIN_FILENO, buffer, sizeof buffer) <= 0) {
            app.quit();
        }
    });
    QTimer::singleShot(60000, &app, &QCoreApplication::quit); // orphaned: give up
    return app.exec();
}
