// When the over-temperature countdown starts, and when it is called off.
//
// The warning, its log line, the blink and the alarm come at the user's limit
// (ThresholdEvaluator). The countdown to the power-off also needs the CPU above
// its own rated maximum (CpuRating): a CPU at or below its rating is working as
// designed, and turning the machine off would lose the user's work for nothing.
//
// So an episode (three out-of-range evaluations in a row, until an in-range
// one) arms the countdown once, and the countdown starts on the first
// evaluation of the episode that finds the CPU above its rating: at once when
// the CPU is already that hot, or later when it climbs past the rating while
// still out of range. As before, a cancelled countdown does not come back in
// the same episode, except when the warning's counter comes round to 3 again
// (every 256 evaluations). Without a known rating every CPU counts as above
// it, which is the countdown at the third evaluation, as it always was.
//
// A countdown under way is called off when an evaluation finds the CPU back at
// or below its rating: the machine would otherwise be powered off within it.
#pragma once

#include "CpuRating.h"

#include <cstdint>

namespace sentinax {

class OverTemperatureGuard {
public:
    void SetRating(const CpuRating& rating) { rating_ = rating; }
    const CpuRating& Rating() const { return rating_; }

    // celsius is above the rating (always true without a known rating).
    bool AboveRating(int32_t celsius) const {
        return !rating_.Known() || celsius > rating_.Celsius;
    }

    // After each evaluation of the CPU temperature: reachedThree and
    // warningActive as the evaluation left them. True when the countdown must
    // start now (the caller then runs it and reports its end with Ended).
    bool AfterEvaluation(bool reachedThree, bool warningActive, int32_t celsius);

    // During the countdown: true when it must be called off now.
    bool CallOff(int32_t celsius) const { return countdownOpen_ && !AboveRating(celsius); }

    bool CountdownOpen() const { return countdownOpen_; }
    void Ended() { countdownOpen_ = false; }

private:
    CpuRating rating_;
    bool armed_ = false; // this episode has reached 3 and not had its countdown
    bool countdownOpen_ = false;
};

} // namespace sentinax
