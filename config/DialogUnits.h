// Dialog units, the one conversion every dialog's layout uses: a dialog is
// laid out in quarters of its font's average letter width across and eighths
// of its line height down (the base units), and a length in those units
// becomes pixels as units * base / 4 across and units * base / 8 down,
// rounded to nearest. Lengths are never negative.
#pragma once

#include <cstdint>

namespace sentinax {

inline int DialogUnitsAcross(int units, int baseWidth) {
    return static_cast<int>((static_cast<int64_t>(units) * baseWidth + 2) / 4);
}

inline int DialogUnitsDown(int units, int baseHeight) {
    return static_cast<int>((static_cast<int64_t>(units) * baseHeight + 4) / 8);
}

} // namespace sentinax
