// What one tick does with the raw readings before they are shown: the read
// itself (library or embedded controller), the CPU fan's combination over one
// sampling interval, the board's temperature rearrangements, and the board's
// conversions of the rails and fans. The state lives across ticks and is
// reset only when an interval completes.
#pragma once

#include "BoardProfile.h"
#include "HardwareLibrary.h"
#include "SensorState.h"
#include "Truncate.h"

#include <cstdint>
#include <vector>

namespace sentinax {

// +5 V by the board's rule, written to raw slot 3; returns it.
int32_t ConvertFiveVolt(const BoardProfile& profile, RawValues& raw);
// +12 V by the board's rule in place at V12Slot, then the board's offset
// subtracted; returns it.
int32_t ConvertTwelveVolt(const BoardProfile& profile, RawValues& raw);
// The CPU fan of a board whose chip reports a fan count (ChipSelector 1): 255
// means stopped. A count of 0 cannot be turned into a speed (it would divide by
// zero) and reads as 0 rpm, so a fan that reports nothing usable warns.
int32_t FanCountToRpm(uint8_t count);

class SensorSampler {
public:
    explicit SensorSampler(const BoardProfile& profile);

    // Reads one sample: three controller exchanges, or the chip's temperature
    // block and values with the board's chip command.
    void Read(const HardwareLibrary& library, SensorState& state) const;

    // Takes this tick's CPU fan sample into the interval; true when the tick
    // completes the interval (the evaluation tick), with the combined value
    // then written back to the CPU fan's slot.
    bool FilterCpuFan(SensorState& state);

    // The board's temperature rearrangements, on every tick that read.
    // firstTick: the program's first tick.
    void RearrangeTemperatures(SensorState& state, bool firstTick) const;

    // Evaluation-tick fan conversions, in this order: the chip's count formula
    // for ChipSelector 1, then the board's emulation. Both return the value
    // written back to the fan's slot.
    int32_t ConvertCpuFan(SensorState& state);
    int32_t ConvertSysFan(SensorState& state);

    // Recomputed on evaluation ticks from the CPU temperature byte; while it
    // is true the CPU and system fans do not count towards a warning.
    bool FanWarnFrozen() const { return fanWarnFrozen_; }
    void UpdateFanWarnFrozen(const SensorState& state);

    int SamplePosition() const { return position_; }
    int SampleSum() const { return sum_; }

private:
    int32_t Emulate(int32_t value, uint8_t cpuTemp, bool cpuFan);

    const BoardProfile& profile_;
    int position_ = 0;
    int32_t sum_ = 0;
    std::vector<int32_t> window_;
    int cpuJitter_ = 0;
    int sysJitter_ = 0;
    bool fanWarnFrozen_ = false;
    bool sysFanSeen_ = false;
};

} // namespace sentinax
