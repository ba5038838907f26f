// The request to end (SIGTERM) is answered by the event loop, and also when
// the start-up hangs before the loop ever runs. Each case runs in a child
// process of its own, which makes its own application object.
#include "app/SignalBridge.h"

#include <QCoreApplication>
#include <QTimer>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace sentinax {
namespace {

constexpr unsigned kGrace = 1;

// Waits up to `seconds` for the child; false (and the child killed) when it
// is still running then.
bool WaitFor(pid_t child, int seconds, int& status) {
    for (int i = 0; i < seconds * 20; ++i) {
        if (waitpid(child, &status, WNOHANG) == child)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    return false;
}

// Forks a child that has made its bridge; returns once it is ready.
template <typename Body> pid_t Child(Body body) {
    int ready[2];
    if (pipe(ready) != 0)
        return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        int argc = 1;
        char name[] = "signal-test";
        char* argv[] = {name, nullptr};
        QCoreApplication app(argc, argv);
        SignalBridge bridge(nullptr, kGrace);
        (void)!write(ready[1], "x", 1);
        _exit(body(app, bridge));
    }
    char byte = 0;
    (void)!read(ready[0], &byte, 1);
    close(ready[0]);
    close(ready[1]);
    return pid;
}

TEST(SignalBridge, AHungStartUpStillEndsOnSigterm) {
    const pid_t child = Child([](QCoreApplication&, SignalBridge&) {
        // A start-up that never reaches the event loop.
        for (;;)
            pause();
        return 0;
    });
    ASSERT_GT(child, 0);
    kill(child, SIGTERM);
    int status = 0;
    ASSERT_TRUE(WaitFor(child, 20, status)) << "still running long after the grace time";
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM)
        << "ends as SIGTERM would have ended it";
}

TEST(SignalBridge, TheEventLoopTakesTheSignalAndTheDeadlineIsOff) {
    const pid_t child = Child([](QCoreApplication& app, SignalBridge& bridge) {
        int got = 0;
        QObject::connect(&bridge, &SignalBridge::received, &app, [&](int signal) {
            got = signal;
            app.quit();
        });
        app.exec();
        // The orderly clean-up may take longer than the grace time.
        std::this_thread::sleep_for(std::chrono::seconds(3 * kGrace));
        return got == SIGTERM ? 7 : 1;
    });
    ASSERT_GT(child, 0);
    kill(child, SIGTERM);
    int status = 0;
    ASSERT_TRUE(WaitFor(child, 20, status));
    ASSERT_TRUE(WIFEXITED(status)) << "the deadline struck after the loop took the signal";
    EXPECT_EQ(WEXITSTATUS(status), 7);
}

} // namespace
} // namespace sentinax
