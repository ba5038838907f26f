#include "OverTemperatureGuard.h"

namespace sentinax {

bool OverTemperatureGuard::AfterEvaluation(bool reachedThree, bool warningActive, int32_t celsius) {
    if (!warningActive) {
        armed_ = false; // back in range: the episode is over
        return false;
    }
    // Evaluations nested in an open countdown neither arm a second one nor
    // start it.
    if (countdownOpen_)
        return false;
    if (reachedThree)
        armed_ = true;
    if (!armed_ || !AboveRating(celsius))
        return false;
    armed_ = false;
    countdownOpen_ = true;
    return true;
}

} // namespace sentinax
