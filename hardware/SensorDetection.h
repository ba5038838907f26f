// Start-up detection of the sensor hardware, after the board profile is known.
#pragma once

#include "BoardProfile.h"
#include "HardwareLibrary.h"
#include "SensorState.h"

#include <functional>
#include <string>

namespace sentinax {

// Waits between the retries of a silent chip (2000 ms each).
using SleepFn = std::function<void(int milliseconds)>;
constexpr int kDetectRetryWaitMs = 2000;
constexpr uint8_t kChipParamFill = 0xC9; // bytes the library leaves alone read this

// ControllerSilent: an embedded-controller board whose controller did not
// answer (no port access, or no controller behind the ports); nothing was
// taken from it.
enum class DetectionResult { Ready, ChipSilent, ControllerSilent };

// Embedded-controller boards: one controller read of the CPU fan, nothing else.
// A controller that does not answer gives ControllerSilent and leaves the state alone.
// Library boards: the monitor chip (one retry), the temperature source (one
// retry), enabling the monitor and the first values, then the presence flags.
DetectionResult DetectSensorHardware(const HardwareLibrary& library, const BoardProfile& profile,
                                     SensorState& state, const SleepFn& sleep);

// Sets the presence flags and keeps the first readings after the first full
// read of the library's values.
void DerivePresence(const BoardProfile& profile, SensorState& state);

// The message shown when the chip stays silent, picked by the system's version text.
std::string DriverFailureMessage(const std::string& versionText);

} // namespace sentinax
