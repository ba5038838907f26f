#include "SignalBridge.h"

#include "alerts/SharedSensorMemory.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace sentinax {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

int g_pipe[2] = {-1, -1};
unsigned g_graceSeconds = SignalBridge::kDefaultGraceSeconds;
// The first signal not yet taken by the event loop; 0 when none waits.
volatile sig_atomic_t g_waiting = 0;

void OnSignal(int signalNumber) {
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] ssize_t n = ::write(g_pipe[1], &byte, 1);
    if (g_waiting == 0) {
        g_waiting = signalNumber;
        ::alarm(g_graceSeconds);
    }
    errno = saved;
}

// The event loop did not take the signal in time: end now, as the signal
// would have without a handler. Only async-signal-safe calls.
void OnDeadline(int) {
    const int signalNumber = g_waiting;
    if (signalNumber == 0)
        return;
    static const char note[] = "sentinax4: start-up did not finish in time; ending now\n";
    [[maybe_unused]] ssize_t n = ::write(STDERR_FILENO, note, sizeof note - 1);
    SharedSensorMemory::RemovePublishedForExit();
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    ::sigaction(signalNumber, &action, nullptr);
    sigset_t unblock;
    sigemptyset(&unblock);
    sigaddset(&unblock, signalNumber);
    ::sigprocmask(SIG_UNBLOCK, &unblock, nullptr);
    ::raise(signalNumber);
    ::_exit(128 + signalNumber); // only if the default action did not end us
}

void Install(int signalNumber, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signalNumber, &action, nullptr);
}

} // namespace

SignalBridge::SignalBridge(QObject* parent, unsigned graceSeconds) : QObject(parent) {
    if (g_pipe[0] < 0 && ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        g_pipe[0] = g_pipe[1] = -1;
        return;
    }
    g_graceSeconds = graceSeconds > 0 ? graceSeconds : 1;
    notifier_ = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { Drain(); });

    Install(SIGALRM, OnDeadline);
    for (int sig : kSignals)
        Install(sig, OnSignal);
}

SignalBridge::~SignalBridge() {
    for (int sig : kSignals)
        Install(sig, SIG_DFL);
    ::alarm(0);
    g_waiting = 0;
    Install(SIGALRM, SIG_DFL);
}

void SignalBridge::Drain() {
    // The loop has the signal: the orderly clean-up takes over. A signal that
    // comes while its byte is being read is taken here too.
    do {
        ::alarm(0);
        g_waiting = 0;
        unsigned char byte = 0;
        while (::read(g_pipe[0], &byte, 1) == 1)
            emit received(byte);
    } while (g_waiting != 0);
}

} // namespace sentinax
