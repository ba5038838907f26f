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

    bool HasReading(ReadoutItem item) const {
        return (NoReading & (1u << static_cast<int>(item))) == 0;
    }

    bool SensorsReady() const { return HardwareReady && CpuTempValid; }
};

} // namespace sentinax
