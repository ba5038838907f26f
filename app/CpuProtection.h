// The over-temperature protection's part of the main window's logic:
//  - the CPU's rated maximum (CpuRating: the sensor's critical limit, else the
//    table by CPU), decided at start-up, said once, and read again while the
//    CPU is in warning (a sensor found again may bring its limit);
//  - when the countdown starts and when it is called off (OverTemperatureGuard);
//  - a CPU temperature that was not there at start-up: said once, shown as
//    "N A", never evaluated, and looked for again every 30 s, while every other
//    reading goes on being watched.
// It reaches the window through MonitorView and the system through Platform,
// so whole ticks run in tests. The controller runs the countdown dialog itself.
#pragma once

#include "MonitorView.h"
#include "Platform.h"

#include "alerts/OverTemperatureGuard.h"
#include "hardware/BoardProfile.h"
#include "hardware/HardwareLibrary.h"
#include "hardware/SensorState.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace sentinax {

// How often a CPU temperature missing since start-up is looked for.
constexpr int kCpuTempRetryMs = 30000;

// The CPU of /proc/cpuinfo text (its first package); unknown fields stay
// unknown, never fails.
CpuIdentity IdentifyCpu(std::string_view cpuinfo);

class CpuProtection {
public:
    CpuProtection(MonitorView& view, Platform& platform, const HardwareLibrary& library,
                  const BoardProfile& profile, SensorState& sensors);

    // After the start-up detection, with the skin loaded: decides the rating
    // and says what the power-off waits for; says so when the CPU temperature
    // is missing.
    void Start();

    // Before a tick reads. periodMs: the time since the last tick. Looks for a
    // missing CPU temperature when it is due (one library call).
    void BeforeRead(int periodMs);
    // After a tick read and rearranged the temperatures: a missing CPU
    // temperature has no reading (its byte is 0, not a stale or unwritten one).
    void AfterRead();

    // After each evaluation of the CPU temperature (celsius as evaluated).
    // True when the countdown must start now; the caller runs it and then
    // calls CountdownEnded. A countdown under way is called off here when the
    // CPU is back within its rating.
    bool AfterEvaluation(bool reachedThree, bool warningActive, int32_t celsius);
    void CountdownEnded() { guard_.Ended(); }

    // What the CPU temperature upper limit's hint adds for a limit at or below
    // the rating: the power-off still waits for the rating. Empty otherwise.
    std::string LimitHintNote(int32_t limitCelsius, bool showCelsius);

    const CpuRating& Rating() const { return guard_.Rating(); }
    const OverTemperatureGuard& Guard() const { return guard_; }

private:
    // Reads the sensor's critical limit again; says so when the rating changed.
    void RefreshRating(bool startUp);
    void Tell(const std::string& message);

    MonitorView& view_;
    Platform& platform_;
    const HardwareLibrary& library_;
    const BoardProfile& profile_;
    SensorState& sensors_;
    OverTemperatureGuard guard_;
    CpuRating tableRating_;
    int sinceRetryMs_ = 0;
};

} // namespace sentinax
