#include "AlarmDecision.h"

namespace sentinax {

AlarmAction DecideAlarm(bool anyWarningActive, int soundWarning) {
    if (!anyWarningActive) {
        return AlarmAction::StopSound;
    }
    return soundWarning != 0 ? AlarmAction::ShowAndPlay : AlarmAction::ShowAndStop;
}

} // namespace sentinax
