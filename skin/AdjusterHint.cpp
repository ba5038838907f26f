#include "AdjusterHint.h"

#include "config/LimitScale.h"
#include "hardware/Truncate.h"

#include <array>
#include <charconv>
#include <string_view>

namespace sentinax {

namespace {

// The text before the number, indexed by LimitItem; the scales are the
// limits' own (config/LimitScale.h). The labels of the three rails begin with
// a blank.
constexpr std::array<std::string_view, kLimitCount> kHintLabels = {{
    "CPU temperature max threshold : ",
    "CPU temperature min threshold : ",
    "System temperature max threshold : ",
    "System temperature min threshold : ",
    "CPU fan max threshold : ",
    "CPU fan min threshold : ",
    "System fan max threshold : ",
    "System fan min threshold : ",
    "Power fan max threshold : ",
    "Power fan min threshold : ",
    "Vcore max threshold : ",
    "Vcore min threshold : ",
    " 3.3 V max threshold : ",
    " 3.3 V min threshold : ",
    " +5 V max threshold : ",
    " +5 V min threshold : ",
    " +12 V max threshold : ",
    " +12 V min threshold : ",
}};

std::string TwoDecimals(double value) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    return std::string(buffer, result.ptr);
}

std::string Degrees(double celsius, bool showCelsius) {
    // The Fahrenheit value comes from the unrounded Celsius value.
    const double shown = showCelsius ? celsius : celsius * 1.8 + 32;
    return std::to_string(TruncateToInt32(shown)) + (showCelsius ? " 'C" : " 'F");
}

} // namespace

std::string AdjusterHint(int index, int position, bool celsius, int sysFanUpperBase) {
    if (index < 0 || index >= kLimitCount)
        return {};
    const auto i = static_cast<std::size_t>(index);
    const LimitScale& scale = kLimitScales[i];
    const std::string text(kHintLabels[i]);
    switch (scale.Unit) {
    case LimitUnit::Celsius:
        return text + Degrees(ScaledValue(scale, position), celsius);
    case LimitUnit::Rpm:
        return text + std::to_string(ScaledRpm(scale, position, sysFanUpperBase)) + " rpm";
    case LimitUnit::Volts:
        return text + TwoDecimals(ScaledValue(scale, position)) + " v";
    }
    return {};
}

std::string PointerHint(const std::string& controlName) {
    if (controlName == "NONE")
        return "none";
    return {};
}

} // namespace sentinax
