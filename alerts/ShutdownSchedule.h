// What logind's ScheduledShutdown property says about a power-off the monitor
// scheduled there. logind announces no change of the property, so it is read
// again and again while the power-off is pending, and each reading is judged
// here:
//
//   reading                                      verdict
//   ours (same type and time), before its time   Pending
//   ours, up to the grace after its time         Pending (logind is at work:
//                                                its delay inhibitors, then
//                                                the power-off ends the monitor)
//   ours, more than the grace after its time     Overdue: logind did not act
//   none, first seen before its time             Cancelled (shutdown -c)
//   none, after a reading of it as ours at or    Failed: logind gave it up at
//     after its time                             its time (it clears the
//                                                schedule when it cannot run it)
//   none, first seen after its time, last seen   Gone: a cancel just before the
//     as ours before it                          time cannot be told from logind
//                                                giving it up at its time (which
//                                                it does only while another
//                                                shutdown or sleep is under way);
//                                                taken as cancelled, because an
//                                                administrator's cancel is never
//                                                overridden
//   another type or time                         Replaced: someone scheduled
//                                                their own shutdown instead
//   unreadable (no logind, no answer)            Pending, or Overdue after the
//                                                grace: a schedule that may be
//                                                lost is never taken as cancelled
//
// Times are microseconds since the epoch (logind's unit and clock).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace sentinax {

struct ScheduledShutdown {
    std::string Type; // "poweroff", "reboot"...; empty when none is scheduled
    uint64_t Usec = 0;
    bool operator==(const ScheduledShutdown&) const = default;
};

enum class ScheduleVerdict { Pending, Overdue, Cancelled, Gone, Failed, Replaced };

class ShutdownScheduleWatch {
public:
    ShutdownScheduleWatch(ScheduledShutdown ours, uint64_t graceUsec)
        : ours_(std::move(ours)), graceUsec_(graceUsec) {}

    // One reading at nowUsec; nullopt when the property could not be read.
    ScheduleVerdict Seen(const std::optional<ScheduledShutdown>& seen, uint64_t nowUsec);

    // The schedule may be withdrawn (CancelScheduledShutdown) at nowUsec: the
    // last reading still showed it as ours and its time has not come; once it
    // has, logind is powering off and a cancel would only confuse the wall.
    bool Withdrawable(uint64_t nowUsec) const { return stillOurs_ && nowUsec < ours_.Usec; }

    const ScheduledShutdown& Ours() const { return ours_; }

private:
    ScheduledShutdown ours_;
    uint64_t graceUsec_;
    bool stillOurs_ = true;        // no reading has shown anything else yet
    bool seenOursWhenDue_ = false; // a reading at or after its time still showed it
};

} // namespace sentinax
