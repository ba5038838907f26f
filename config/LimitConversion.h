// From adjuster positions to limits. Fan limits are integer arithmetic;
// temperature and voltage limits are computed in double precision in a fixed
// order and truncated toward zero, so some positions give one millivolt less
// than decimal arithmetic would (VCORE_UPPER_LIMIT 1 gives 2,009 mV) - that
// truncated value is the limit.
#pragma once

#include "AdjusterAccess.h"
#include "AppSettings.h"
#include "Thresholds.h"
#include "hardware/BoardProfile.h"

#include <cstdint>

namespace sentinax {

// The limit of one LimitItem index (0..17) at an adjuster position, by the
// item's formula (the board's SysFanUpperBase applies, the start-up overrides
// do not). Positions outside 0..100 are converted all the same; a result past
// the 32-bit range gives the nearest end of it. An index outside 0..17 gives 0.
int32_t LimitFromPosition(int index, int position, const BoardProfile& profile);

// All 18 limits from the stored positions, with the board's start-up
// overrides: a forced CPU temperature upper limit, CPU fan lower limit or Vcore
// lower limit moves that adjuster (through adjusters) and sets the forced
// value; the stored position and its change flag stay as they were.
Thresholds ConvertLimits(const AppSettings& settings, const BoardProfile& profile,
                         AdjusterAccess& adjusters);

} // namespace sentinax
