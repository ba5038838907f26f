// Delivers SIGTERM, SIGHUP and SIGINT to the user-interface thread: the
// handler only writes the signal number into a pipe, and a socket notifier on
// the other end emits `received` from the event loop.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace sentinax {

class SignalBridge : public QObject {
    Q_OBJECT
public:
    explicit SignalBridge(QObject* parent = nullptr);
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
