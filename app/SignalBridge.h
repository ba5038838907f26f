// Delivers SIGTERM, SIGHUP and SIGINT to the user-interface thread: the
// handler only writes the signal number into a pipe, and a socket notifier on
// the other end emits `received` from the event loop.
//
// The event loop answers only once the start-up has finished. So that a
// start-up that hangs (a stuck file system, a device that never answers)
// cannot make the program deaf to the request to end, the handler also arms a
// deadline: when the loop has not taken the signal within the grace time, the
// process removes its published shared block and ends by that signal's
// default action. Taking the signal from the pipe disarms the deadline; the
// orderly clean-up then runs as usual.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace sentinax {

class SignalBridge : public QObject {
    Q_OBJECT
public:
    static constexpr unsigned kDefaultGraceSeconds = 10;

    // graceSeconds: how long a signal may wait for the event loop (tests
    // shorten it).
    explicit SignalBridge(QObject* parent = nullptr, unsigned graceSeconds = kDefaultGraceSeconds);
    ~SignalBridge() override;

    // False when the pipe could not be made; the signals then keep their
    // default action.
    bool Installed() const { return notifier_ != nullptr; }

signals:
    void received(int signalNumber);

private:
    void Drain();
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace sentinax
