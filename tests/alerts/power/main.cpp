// The power-off tests need an event loop and D-Bus, never a display. The
// machine's system bus is fenced off before anything can reach it: only the
// private buses the tests start are ever used.
#include <QCoreApplication>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    setenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/sentinax-test-fence", 1);
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
