// Turning the machine off when the over-temperature countdown ends.
#pragma once

namespace sentinax {

// Name of the environment variable that replaces the power-off request with a
// command (tests point it at a recorder).
inline constexpr const char* kPowerOffCommandVariable = "SENTINAX_POWEROFF_COMMAND";

// With SENTINAX_POWEROFF_COMMAND set and non-empty: starts that command through
// /bin/sh -c, detached, and does nothing else. Otherwise asks logind on the
// system bus to power off (PowerOff(interactive = false), no force: inhibitors
// and polkit still decide). Never waits for the answer and never retries; a
// refusal or a missing bus or logind is not reported. Needs a Qt application
// object for the D-Bus path.
void ShutdownSystem();

} // namespace sentinax
