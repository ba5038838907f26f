// The over-temperature countdown where nobody watches a screen: logind's own
// scheduled power-off. Run() asks logind for a power-off 30 s from now
// (ScheduleShutdown "poweroff"; logind tells every logged-in user with a wall
// message, and an administrator cancels it with `shutdown -c`), then reads its
// ScheduledShutdown property every second until the countdown ends, which is
// judged by ShutdownScheduleWatch (alerts/ShutdownSchedule.h):
//   - cancelled, replaced by another shutdown, or gone at its time without a
//     trace of why: Run() returns false, as the dialog's Cancel does;
//   - logind gave it up at its time, or has not acted on it a grace period
//     after: Run() returns true, and the caller asks for the power-off itself,
//     so that a failing logind never disarms the protection silently;
//   - logind absent or refusing: said, and a countdown of the monitor's own
//     ends in true after the same 30 s.
// Normally the power-off itself ends the monitor before Run() returns.
// Only Qt Core and Qt DBus: a run without a display uses it.
#pragma once

#include "alerts/ShutdownSchedule.h"
#include "hardware/MessagePriority.h"

#include <QDBusConnection>
#include <QObject>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QDBusPendingCallWatcher;
class QEventLoop;
class QTimer;

namespace sentinax {

class ScheduledPowerOff : public QObject {
    Q_OBJECT
public:
    using Reporter = std::function<void(MessagePriority, const std::string&)>;
    struct Timing {
        std::chrono::milliseconds Countdown{30000}; // until the power-off
        // logind may take this long past its time (its delay inhibitors wait
        // up to 5 s by default) before the monitor asks for the power-off.
        std::chrono::milliseconds Grace{15000};
        std::chrono::milliseconds Poll{1000};        // between readings of the schedule
        std::chrono::milliseconds CallTimeout{2000}; // each call to logind
    };

    // bus: the system bus (tests pass a private one). report: every message
    // for the user, with its priority; the caller adds the program's prefix.
    ScheduledPowerOff(QDBusConnection bus, Reporter report, Timing timing,
                      QObject* parent = nullptr);
    ~ScheduledPowerOff() override;

    // Runs one countdown to its end in an event loop of its own: timers, and
    // so further ticks, run nested in it as in a dialog's. True when the
    // caller must power the machine off now; false when it was cancelled.
    bool Run();
    // Ends a countdown under way as cancelled, withdrawing the schedule from
    // logind while it is still ours and its time has not come (afterwards the
    // power-off is under way and stays so). Nothing when no countdown runs.
    void Cancel();
    bool Running() const { return loop_ != nullptr; }

private:
    void Schedule(uint64_t at);
    void OnScheduled(QDBusPendingCallWatcher* call);
    void RunOwnCountdown(const std::string& why);
    void PollSchedule();
    void OnPolled(QDBusPendingCallWatcher* call);
    void Finish(bool powerOff);

    QDBusConnection bus_;
    Reporter report_;
    Timing timing_;
    QEventLoop* loop_ = nullptr;
    QTimer* own_ = nullptr;  // the monitor's own countdown, without logind
    QTimer* poll_ = nullptr; // reads logind's schedule while it is pending
    std::optional<ShutdownScheduleWatch> watch_;
    bool scheduling_ = false; // the request is sent, its answer not yet come
    bool polling_ = false;    // a reading of the schedule is under way
    bool result_ = false;
    unsigned run_ = 0; // which countdown the calls under way belong to
};

} // namespace sentinax
