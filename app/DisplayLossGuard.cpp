#include "DisplayLossGuard.h"

#include <QCoreApplication>
#include <QThread>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace sentinax {

namespace {

std::atomic<bool> g_armed{false};
std::atomic<bool> g_ran{false};
DisplayLossGuard::CleanUp g_cleanUp = nullptr;
void* g_context = nullptr;
QtMessageHandler g_previousHandler = nullptr;
std::once_flag g_installed;

bool OnMainThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

// Runs the clean-up once. Only plain C++ and system calls run from here: the
// display is gone and Qt may be half way through ending the process.
// Under Wayland the notice may come from Qt's event thread while the main
// thread is about to end the process too: whoever comes second waits here
// until the first has finished the clean-up.
std::mutex g_running;

void RunOnce(const char* why) {
    if (!g_armed.load())
        return;
    const std::lock_guard<std::mutex> lock(g_running);
    if (g_ran.exchange(true))
        return;
    std::fprintf(stderr,
                 "sentinax4: %s; saving the changed settings, removing the shared memory and "
                 "ending\n",
                 why);
    std::fflush(stderr);
    if (g_cleanUp)
        g_cleanUp(g_context);
}

void OnExit() {
    RunOnce("the program is ending without its window (was the display connection lost?)");
}

void OnMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (g_previousHandler)
        g_previousHandler(type, context, message);
    const bool serious = type == QtWarningMsg || type == QtCriticalMsg || type == QtFatalMsg;
    if (!serious || !g_armed.load())
        return;
    // Qt's Wayland platform notices a dead compositor on its own event thread
    // and ends the process from there (_exit, no exit handlers): the notice
    // counts from any thread. Other fatal messages only from the main one.
    const bool lost = DisplayLossGuard::IsDisplayLossMessage(message);
    if (!lost && !OnMainThread())
        return;
    if (lost) {
        RunOnce("the display connection was lost");
    } else if (type == QtFatalMsg) {
        RunOnce("a fatal error ends the program");
    }
    if (lost && type == QtFatalMsg) {
        // An ordinary end for a lost display: no crash report, no core dump.
        std::fflush(stdout);
        std::fflush(stderr);
        std::_Exit(1);
    }
}

} // namespace

bool DisplayLossGuard::IsDisplayLossMessage(const QString& message) {
    return message.contains(QLatin1String("X11 connection broke")) ||
           message.contains(QLatin1String("Wayland connection broke")) ||
           message.contains(QLatin1String("Wayland connection experienced a fatal error"));
}

void DisplayLossGuard::Arm(CleanUp cleanUp, void* context) {
    g_cleanUp = cleanUp;
    g_context = context;
    g_ran = false;
    std::call_once(g_installed, [] {
        g_previousHandler = qInstallMessageHandler(OnMessage);
        std::atexit(OnExit);
    });
    g_armed = true;
}

void DisplayLossGuard::Disarm() {
    g_armed = false;
}

} // namespace sentinax
