#include "AdjusterHint.h"

#include "hardware/Truncate.h"

#include <array>
#include <charconv>
#include <string_view>

namespace sentinax {

namespace {

enum class HintKind { DegreesUpper, DegreesLower, Rpm, Volts };

struct HintRow {
    std::string_view Label; // text before the number
    HintKind Kind;
    // Rpm: base + step * p. Volts: (factor * p) * step + base, in double.
    double Base;
    double Step;
    int Factor;
};

// Indexed by LimitItem. The labels of the three rails begin with a blank.
constexpr std::array<HintRow, 18> kHints = {{
    {"CPU temperature max threshold : ", HintKind::DegreesUpper, 0, 0, 1},
    {"CPU temperature min threshold : ", HintKind::DegreesLower, 0, 0, 1},
    {"System temperature max threshold : ", HintKind::DegreesUpper, 0, 0, 1},
    {"System temperature min threshold : ", HintKind::DegreesLower, 0, 0, 1},
    {"CPU fan max threshold : ", HintKind::Rpm, 5000, 70, 1},
    {"CPU fan min threshold : ", HintKind::Rpm, 0, 50, 1},
    {"System fan max threshold : ", HintKind::Rpm, -1, 70, 1}, // the board's base
    {"System fan min threshold : ", HintKind::Rpm, 0, 50, 1},
    {"Power fan max threshold : ", HintKind::Rpm, 5000, 70, 1},
    {"Power fan min threshold : ", HintKind::Rpm, 0, 50, 1},
    {"Vcore max threshold : ", HintKind::Volts, 2.0, 0.01, 1},
    {"Vcore min threshold : ", HintKind::Volts, 0.5, 0.01, 1},
    {" 3.3 V max threshold : ", HintKind::Volts, 3.3, 0.006, 1},
    {" 3.3 V min threshold : ", HintKind::Volts, 2.7, 0.006, 1},
    {" +5 V max threshold : ", HintKind::Volts, 5.0, 0.01, 1},
    {" +5 V min threshold : ", HintKind::Volts, 4.0, 0.01, 1},
    {" +12 V max threshold : ", HintKind::Volts, 12.0, 0.01, 2},
    {" +12 V min threshold : ", HintKind::Volts, 10.0, 0.01, 2},
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
    if (index < 0 || index >= static_cast<int>(kHints.size()))
        return {};
    const HintRow& row = kHints[static_cast<std::size_t>(index)];
    const double p = static_cast<double>(position);
    std::string text(row.Label);
    switch (row.Kind) {
    case HintKind::DegreesUpper:
        return text + Degrees(p * 0.5 + 50, celsius);
    case HintKind::DegreesLower:
        return text + Degrees(p * 0.5, celsius);
    case HintKind::Rpm: {
        const long long base = row.Base < 0 ? sysFanUpperBase : static_cast<long long>(row.Base);
        const long long rpm = base + static_cast<long long>(row.Step) * position;
        return text + std::to_string(rpm) + " rpm";
    }
    case HintKind::Volts: {
        const double counted = static_cast<double>(static_cast<long long>(row.Factor) * position);
        return text + TwoDecimals(counted * row.Step + row.Base) + " v";
    }
    }
    return {};
}

std::string PointerHint(const std::string& controlName) {
    if (controlName == "NONE")
        return "none";
    return {};
}

} // namespace sentinax
