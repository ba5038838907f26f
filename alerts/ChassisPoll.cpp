#include "ChassisPoll.h"

namespace sentinax {

ChassisPoll::ChassisPoll(WarningLog& log) : log_(log) {}

bool ChassisPoll::Poll(uint32_t latchResult) {
    if ((latchResult & 0xFFu) == 0) {
        waitingForClear_ = false;
        return false;
    }
    if (waitingForClear_)
        return false;
    ++counter_;
    if (counter_ != 2) {
        return false;
    }
    log_.AppendLogLine(FormatChassisWarning(log_.Now()));
    return true;
}

bool ChassisPoll::DialogClosed(bool accepted) {
    counter_ = 0;
    return accepted;
}

} // namespace sentinax
