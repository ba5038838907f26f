#include "QtTickTimers.h"

#include <QTimer>
#include <algorithm>

namespace sentinax {

// Qt never re-enters the handler of a timer whose timeout is still being
// handled, but a tick that runs a modal dialog (or the power-off countdown's
// own loop) must let further ticks run nested inside it. So a logical timer is
// a single-shot QTimer that is armed again for its next due time before the
// tick runs: to Qt that is a new timer, which the nested loop delivers while
// the old timeout is still on the stack. Due times advance by the period from
// the last one, as a periodic precise timer's do; after a long stall the next
// is one period from now. The tick goes from the timer straight to the
// controller: a detour through the event queue would cost an extra pass of the
// event loop on every tick. A killed or restarted timer delivers nothing of
// its old schedule.
int QtTickTimers::SetTimer(int id, int periodMs) {
    Timer& t = timers_[id];
    if (!t.timer) {
        t.timer = new QTimer(this);
        t.timer->setSingleShot(true);
        t.timer->setTimerType(Qt::PreciseTimer);
        connect(t.timer, &QTimer::timeout, this, [this, id] { OnTimer(id); });
    }
    t.period = std::chrono::milliseconds(std::max(periodMs, 0));
    t.due = std::chrono::steady_clock::now() + t.period;
    t.timer->start(t.period);
    return id;
}

void QtTickTimers::OnTimer(int id) {
    Timer& t = timers_[id];
    const auto now = std::chrono::steady_clock::now();
    t.due += t.period;
    if (t.due <= now)
        t.due = now + t.period;
    t.timer->start(std::chrono::ceil<std::chrono::milliseconds>(t.due - now));
    if (tick_)
        tick_(id);
}

void QtTickTimers::KillTimer(int id) {
    auto it = timers_.find(id);
    if (it == timers_.end() || !it->second.timer)
        return;
    it->second.timer->stop();
}

} // namespace sentinax
