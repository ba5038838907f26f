// The hardware state of the main window: the blocks exchanged with the library,
// the presence flags, the readiness results of start-up detection and the last
// values shown.
#pragma once

#include "SensorTypes.h"

namespace sentinax {

struct SensorState {
    RawValues Raw{};
    ChipParams Params{};
    PresenceFlags Present{};    // 1: the item exists and is shown
    bool HardwareReady = false; // the chip or the embedded controller answered
    bool CpuTempValid = false;  // the CPU temperature source gave a plausible value
    SensorReadings LastShown;   // also receives the first readings at start-up
    // Items that got no reading on the last read (bit 1 << ReadoutItem): an
    // embedded controller that did not answer in time. Such an item keeps its
    // last shown value and is not evaluated.
    uint32_t NoReading = 0;
    // Items whose source the hardware library lost on the last read (a chip
    // that went away): no reading, shown as "N A", not checked, not published
    // as a value; read and checked again when the source returns.
    uint32_t Lost = 0;
    // Items read through guessed wiring whose first value did not look like
    // the item: shown, never checked against the limits.
    uint32_t Unchecked = 0;

    bool HasReading(ReadoutItem item) const {
        return ((NoReading | Lost) & (1u << static_cast<int>(item))) == 0;
    }
    bool IsLost(ReadoutItem item) const { return (Lost & (1u << static_cast<int>(item))) != 0; }
    // The item is read and may be checked against its limits.
    bool Checked(ReadoutItem item) const {
        return HasReading(item) && (Unchecked & (1u << static_cast<int>(item))) == 0;
    }

    bool SensorsReady() const { return HardwareReady && CpuTempValid; }
};

} // namespace sentinax
