// The texts of the readouts. Volts with two decimals; temperatures with at
// least two digits in Celsius; Fahrenheit exists only on the screen.
#pragma once

#include <cstdint>
#include <string>

namespace sentinax {

inline constexpr const char* kNotAvailable = "N A";

// "%.2f" of the volts of a millivolt value.
std::string VoltsText(int32_t millivolts);
inline double Volts(int32_t millivolts) {
    return millivolts * 0.001;
}
// Degrees Fahrenheit of a Celsius value, truncated toward zero.
int32_t ToFahrenheit(int32_t celsius);
// The CPU temperature: "%.2d .C" of °C, or "%d .F" of °F.
std::string CpuTempText(int32_t celsius, bool showCelsius);
// The system temperature: "%.2d" then "  .C", or "%d" then " .F".
std::string SysTempText(int32_t celsius, bool showCelsius);
// "%d".
std::string IntText(int32_t value);

} // namespace sentinax
