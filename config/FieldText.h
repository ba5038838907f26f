// Small text conversions shared by the settings and the skin rows. They read
// any input without failing: junk gives 0 or an empty field, never an error.
#pragma once

#include <string>
#include <string_view>

namespace sentinax {

// The blanks that the profile format and the row grammar trim: space, tab,
// line feed, vertical tab, form feed, carriage return.
bool IsBlank(char c);
std::string_view TrimBlanks(std::string_view text);

// A decimal integer read from the start of the text: leading blanks skipped,
// an optional sign, digits up to the first non-digit. No digits gives 0; a
// number beyond the 32-bit range gives the nearest end of the range.
int ParseDecimal(std::string_view text);

// Takes the next comma-separated field off the front of a skin row. The field
// is the text before the first comma exactly as written; the row keeps the
// text after that comma with surrounding blanks trimmed. Without a comma the
// field is the whole row and the row is left as it is, so asking past the end
// repeats the last field. Rows of any length are handled.
std::string NextField(std::string& row);

} // namespace sentinax
