// `sentinax4 --clear-intrusion`: resets the chassis-intrusion latch through
// the hardware library, as the intrusion warning's "Reset Now !" does, for a
// machine without a screen (where the warning is only logged). Needs no
// display and runs before any Qt object exists.
#pragma once

#include "hardware/Reporter.h"

namespace sentinax {

struct HardwareLibrary;

// Clears the latch of a bound library and says what it found before and
// after. 0 when the latch reads clear afterwards; 1 when it is still set (the
// library could not write it: that needs root).
int ClearIntrusion(const HardwareLibrary& library, Reporter& report);

} // namespace sentinax
