#include "ReadoutText.h"

#include "SensorSampler.h"

#include <cstdio>

namespace sentinax {

namespace {
template <typename... Args> std::string Format(const char* format, Args... args) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}
} // namespace

std::string VoltsText(int32_t millivolts) {
    return Format("%.2f", Volts(millivolts));
}

int32_t ToFahrenheit(int32_t celsius) {
    return TruncateToInt32(celsius * 1.8 + 32);
}

std::string CpuTempText(int32_t celsius, bool showCelsius) {
    if (showCelsius)
        return Format("%.2d .C", celsius);
    return Format("%d .F", ToFahrenheit(celsius));
}

std::string SysTempText(int32_t celsius, bool showCelsius) {
    if (showCelsius)
        return Format("%.2d", celsius) + "  .C";
    return Format("%d", ToFahrenheit(celsius)) + " .F";
}

std::string IntText(int32_t value) {
    return Format("%d", value);
}

} // namespace sentinax
