#include "ReadoutText.h"

#include "SensorSampler.h"

#include <charconv>

namespace sentinax {

namespace {

// The texts are made on every tick, hidden or not: std::to_chars gives the
// digits printf would ("%.2f" is the exact decimal value of the double rounded
// to two places; "%d" and "%.2d" the integer, the latter with at least two
// digits) without printf's locale and stream machinery, and never follows the
// user's locale.
std::string Digits(int32_t value, int minDigits) {
    char buffer[16];
    char* p = buffer;
    uint32_t magnitude = static_cast<uint32_t>(value);
    if (value < 0) {
        *p++ = '-';
        magnitude = 0u - magnitude;
    }
    if (minDigits == 2 && magnitude < 10)
        *p++ = '0';
    p = std::to_chars(p, buffer + sizeof buffer, magnitude).ptr;
    return std::string(buffer, p);
}

} // namespace

std::string VoltsText(int32_t millivolts) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, Volts(millivolts),
                                      std::chars_format::fixed, 2);
    return std::string(buffer, result.ptr);
}

int32_t ToFahrenheit(int32_t celsius) {
    return TruncateToInt32(celsius * 1.8 + 32);
}

std::string CpuTempText(int32_t celsius, bool showCelsius) {
    if (showCelsius)
        return Digits(celsius, 2) + " .C";
    return Digits(ToFahrenheit(celsius), 1) + " .F";
}

std::string SysTempText(int32_t celsius, bool showCelsius) {
    if (showCelsius)
        return Digits(celsius, 2) + "  .C";
    return Digits(ToFahrenheit(celsius), 1) + " .F";
}

std::string IntText(int32_t value) {
    return Digits(value, 1);
}

} // namespace sentinax
