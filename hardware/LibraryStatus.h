// What the hardware library's read status means for the shown items: the
// RawValues slots and ChipParams bytes it names are traced to the items the
// board's profile reads from them.
#pragma once

#include "BoardProfile.h"
#include "SensorTypes.h"
#include "hmio/hmio.h"

#include <cstdint>

namespace sentinax {

// Bits are 1 << ReadoutItem.
struct ItemStatus {
    uint32_t Lost = 0;      // the item's source gave no reading
    uint32_t Unchecked = 0; // read through guessed wiring: shown, not checked
};

ItemStatus ItemsOfStatus(const BoardProfile& profile, const HmioStatus& status);

// The slot a board's +5 V is converted from (FiveVoltRule).
int FiveVoltSourceSlot(const BoardProfile& profile);

} // namespace sentinax
