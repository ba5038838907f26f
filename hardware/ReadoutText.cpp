#include "ReadoutText.h"

#include "SensorSampler.h"

#include <charconv>
#include <cmath>

namespace sentinax {

namespace {

// The texts are made on every tick, hidden or not: they are built from the
// integers, with the digits printf gives ("%.2f" is the exact decimal value of
// the volts' double rounded to two places; "%d" and "%.2d" the integer, the
// latter with at least two digits), without printf's locale and stream
// machinery, and never follow the user's locale.
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
    // The hundredths are the millivolts / 10, rounded. Only a last digit of 5
    // sits on the half, where printf rounds the product's binary value, a hair
    // above or below it: the sign of volts * 1000 - millivolts, computed
    // exactly by one fused multiply-add, says which (an exact tie, which the
    // product never makes, would go to the even hundredth).
    const double volts = Volts(millivolts);
    const int64_t magnitude = millivolts < 0 ? -int64_t{millivolts} : int64_t{millivolts};
    int64_t hundredths = magnitude / 10;
    const int64_t last = magnitude % 10;
    if (last > 5) {
        ++hundredths;
    } else if (last == 5) {
        const double beyond = std::fma(std::fabs(volts), 1000.0, -static_cast<double>(magnitude));
        if (beyond > 0 || (beyond == 0 && hundredths % 2 == 1))
            ++hundredths;
    }
    char buffer[24];
    char* p = buffer;
    if (millivolts < 0)
        *p++ = '-';
    p = std::to_chars(p, buffer + sizeof buffer, hundredths / 100).ptr;
    const int cents = static_cast<int>(hundredths % 100);
    *p++ = '.';
    *p++ = static_cast<char>('0' + cents / 10);
    *p++ = static_cast<char>('0' + cents % 10);
    return std::string(buffer, p);
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
