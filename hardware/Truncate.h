// Conversions from floating point to the 32-bit integers that readings and
// limits travel in.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace sentinax {

// Truncates toward zero like a C cast, but a value beyond the 32-bit range
// (or not a number) gives the nearest end (or 0) instead of undefined behaviour.
inline int32_t TruncateToInt32(double value) {
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0)
        return std::numeric_limits<int32_t>::max();
    if (value <= -2147483648.0)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

} // namespace sentinax
