// The monitor's logical timers on Qt Core's event loop, for the window and for
// the run without a display alike. Each delivers its id to the tick function.
#pragma once

#include "MonitorView.h"

#include <QObject>
#include <chrono>
#include <functional>
#include <map>

class QTimer;

namespace sentinax {

class QtTickTimers : public QObject, public TickTimers {
public:
    explicit QtTickTimers(QObject* parent = nullptr) : QObject(parent) {}

    // Where due timers go (the controller's tick); nothing until it is set.
    void SetTick(std::function<void(int)> tick) { tick_ = std::move(tick); }

    int SetTimer(int id, int periodMs) override;
    void KillTimer(int id) override;

private:
    // One logical timer: a single-shot QTimer armed again for each due time.
    struct Timer {
        QTimer* timer = nullptr;
        std::chrono::steady_clock::time_point due{};
        std::chrono::milliseconds period{0};
    };
    void OnTimer(int id);

    std::map<int, Timer> timers_;
    std::function<void(int)> tick_;
};

} // namespace sentinax
