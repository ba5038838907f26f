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

// A CPU temperature reading above this many degrees over the board's offset is
// taken for a sensor that is not there; a hot CPU reads less (the CPUs' own
// emergency shutdown acts well below it).
constexpr int kMaxPlausibleCpuCelsius = 127;

// Whether the CPU temperature byte read at start-up comes from a sensor that is
// there: not one of the bytes a missing or unwired sensor gives (0, 0x7F, 0x80,
// 0xC9 left unwritten, 0xFF), above the board's offset and less than
// kMaxPlausibleCpuCelsius above it. A hot CPU (100 degrees or more) is present.
bool CpuTemperaturePresent(const BoardProfile& profile, uint8_t byte);

// For a CPU temperature that was not there at start-up: asks the temperature
// source once more (one call, no waits) and applies the same test. On success
// the reading is taken and CpuTempValid set; true when it is now valid.
bool RetryCpuTemperature(const HardwareLibrary& library, const BoardProfile& profile,
                         SensorState& state);

// Sets the presence flags and keeps the first readings after the first full
// read of the library's values.
void DerivePresence(const BoardProfile& profile, SensorState& state);

// The message shown when the chip stays silent, picked by the system's version text.
std::string DriverFailureMessage(const std::string& versionText);

} // namespace sentinax
