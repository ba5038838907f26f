// The text of one property value in a property line, by the value's type code:
//
//   1 null                       "<null>" (the line is then dropped)
//   2, 3 signed 16/32-bit        "%d (0x%X)", 16-bit widened with its sign (-1 (0xFFFFFFFF))
//   4, 5 real                    "%10.4f": 10 wide, right-aligned, 4 decimals
//   8 string                     the string between double quotes
//   11 boolean                   "TRUE" (non-zero) or "FALSE"
//   17 unsigned byte             below 32 "%d (0x%X)", else "'%c' (%d, 0x%X)"
//   9 reference; arrays of 2, 3, 4, 5, 8, 9, 11 or 17    no text
//   anything else                "<conversion error>"
//
// The result is UTF-8 (a byte of 128 or more is shown as its Latin-1 character)
// and never follows the locale: the decimal separator is always a point.
#pragma once

#include "WmiValue.h"

#include <optional>
#include <string>

namespace sentinax {

// std::nullopt: the value gives no text (the line ends with the arrow and a blank).
std::optional<std::string> FormatWmiValue(const WmiValue& value);

} // namespace sentinax
