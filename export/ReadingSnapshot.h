// What one evaluation found, in the monitor's own units, for the programs
// that collect readings (the tick hands it to every ReadingSink).
#pragma once

#include "hardware/SensorTypes.h"

#include <array>
#include <cstdint>

namespace sentinax {

struct ItemReading {
    bool Present = false; // the board has the item and it was read on this evaluation
    int32_t Value = 0;    // mV, whole °C or rpm
    int32_t Lower = 0;    // the limits, same unit
    int32_t Upper = 0;
    bool Warning = false; // out of range for three evaluations or more
};

struct ReadingSnapshot {
    std::array<ItemReading, kReadoutCount> Items{}; // by ReadoutItem
    bool ChassisSupported = false;
    bool ChassisOpen = false; // the intrusion latch was found set
    // The over-temperature countdown runs (or a scheduled power-off is
    // pending): from its start until it is cancelled or the machine goes down.
    bool PowerOffCountdown = false;
    // When the readings were taken: seconds since the epoch, whole. 0 for a
    // snapshot that no evaluation made: the countdown and the time are left out.
    int64_t EvaluatedAt = 0;
};

class ReadingSink {
public:
    virtual ~ReadingSink() = default;
    virtual void Publish(const ReadingSnapshot& snapshot) = 0;
};

} // namespace sentinax
