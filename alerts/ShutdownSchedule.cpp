#include "ShutdownSchedule.h"

namespace sentinax {

ScheduleVerdict ShutdownScheduleWatch::Seen(const std::optional<ScheduledShutdown>& seen,
                                            uint64_t nowUsec) {
    const bool due = nowUsec >= ours_.Usec;
    const bool overdue = due && nowUsec - ours_.Usec > graceUsec_;
    if (!seen)
        return overdue ? ScheduleVerdict::Overdue : ScheduleVerdict::Pending;
    if (*seen == ours_) {
        if (due)
            seenOursWhenDue_ = true;
        return overdue ? ScheduleVerdict::Overdue : ScheduleVerdict::Pending;
    }
    stillOurs_ = false;
    if (!seen->Type.empty())
        return ScheduleVerdict::Replaced;
    if (seenOursWhenDue_)
        return ScheduleVerdict::Failed;
    return due ? ScheduleVerdict::Gone : ScheduleVerdict::Cancelled;
}

} // namespace sentinax
