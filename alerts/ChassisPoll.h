// The chassis-intrusion poll of the evaluation tick. The counter (unsigned 8
// bits, wraps) counts ticks that found the latch set since the last dialog; a
// clear latch does not reset it, so a latch seen once and never again still
// raises the warning the next time it is seen. The second sighting logs the
// event and asks the caller for the intrusion dialog; sightings in ticks that
// run nested while that dialog is open only raise the counter further.
#pragma once

#include "WarningLog.h"

#include <cstdint>

namespace sentinax {

class ChassisPoll {
public:
    // log: where the intrusion line goes; must outlive the poll.
    explicit ChassisPoll(WarningLog& log);

    // latchResult: ChassisIntrusion's result; only its low byte counts (non-zero:
    // latch set). True when the counter has just become exactly 2: the line
    // was logged and the caller must run the intrusion dialog now.
    bool Poll(uint32_t latchResult);

    // The intrusion dialog has closed: the counter returns to 0. True when
    // the caller must call ChassisClear (the dialog ended with OK or by its
    // countdown).
    bool DialogClosed(bool accepted);

    // Nobody can answer the warning (a run without a window): the opening is
    // logged once, and sightings count again only after the latch has read
    // clear (it was reset, e.g. with `sentinax4 --clear-intrusion`).
    void WaitForClear() { waitingForClear_ = true; }

    // Set sightings since the last dialog, 0 at start.
    uint8_t Counter() const { return counter_; }

private:
    WarningLog& log_;
    uint8_t counter_ = 0;
    bool waitingForClear_ = false;
};

} // namespace sentinax
