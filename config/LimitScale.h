// How an adjuster position becomes a limit, per LimitItem: the one table that
// the conversion to limits (LimitConversion) and the adjuster hints
// (skin/AdjusterHint) both read.
//
//   item             unit   base                    step per position  counted
//   temperatures     °C     50 (upper), 0 (lower)   0.5                once
//   fans             rpm    5000 / board / 0        70 (upper), 50     once
//   Vcore            V      2.0, 0.5                0.01               once
//   3.3 V            V      3.3, 2.7                0.006              once
//   +5 V             V      5.0, 4.0                0.01               once
//   +12 V            V      12.0, 10.0              0.01               twice
#pragma once

#include "AppSettings.h"

#include <array>
#include <cstdint>

namespace sentinax {

enum class LimitUnit { Celsius, Rpm, Volts };

struct LimitScale {
    LimitUnit Unit;
    double Base;    // the value at position 0
    double Step;    // added per position
    int Factor;     // each position counts this many times (+12 V: twice)
    bool BoardBase; // the base is the board's SysFanUpperBase, not Base
};

// Indexed by LimitItem.
inline constexpr std::array<LimitScale, kLimitCount> kLimitScales = {{
    {LimitUnit::Celsius, 50, 0.5, 1, false}, // CPU temperature upper
    {LimitUnit::Celsius, 0, 0.5, 1, false},
    {LimitUnit::Celsius, 50, 0.5, 1, false}, // system temperature upper
    {LimitUnit::Celsius, 0, 0.5, 1, false},
    {LimitUnit::Rpm, 5000, 70, 1, false}, // CPU fan upper
    {LimitUnit::Rpm, 0, 50, 1, false},
    {LimitUnit::Rpm, 0, 70, 1, true}, // system fan upper
    {LimitUnit::Rpm, 0, 50, 1, false},
    {LimitUnit::Rpm, 5000, 70, 1, false}, // third fan upper
    {LimitUnit::Rpm, 0, 50, 1, false},
    {LimitUnit::Volts, 2.0, 0.01, 1, false}, // Vcore upper
    {LimitUnit::Volts, 0.5, 0.01, 1, false},
    {LimitUnit::Volts, 3.3, 0.006, 1, false}, // 3.3 V upper
    {LimitUnit::Volts, 2.7, 0.006, 1, false},
    {LimitUnit::Volts, 5.0, 0.01, 1, false}, // +5 V upper
    {LimitUnit::Volts, 4.0, 0.01, 1, false},
    {LimitUnit::Volts, 12.0, 0.01, 2, false}, // +12 V upper
    {LimitUnit::Volts, 10.0, 0.01, 2, false},
}};

// The value of a temperature or voltage at a position, in °C or volts,
// counted in this order (the limits depend on it to the last millivolt): the
// position times the factor as an integer, as a double, times the step, plus
// the base.
inline double ScaledValue(const LimitScale& scale, int position) {
    const double counted = static_cast<double>(static_cast<int64_t>(scale.Factor) * position);
    return counted * scale.Step + scale.Base;
}

// A fan's value at a position, in whole rpm (64-bit, never overflowing).
inline int64_t ScaledRpm(const LimitScale& scale, int position, int64_t boardBase) {
    const int64_t base = scale.BoardBase ? boardBase : static_cast<int64_t>(scale.Base);
    return base + static_cast<int64_t>(scale.Step) * scale.Factor * position;
}

} // namespace sentinax
