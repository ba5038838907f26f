// The text of one property line:
//
//   Name (cimtype)   ==> value      a property that is not a key
//   Name (cimtype)*   ==> value     a key property
//   Name ()   ==> value             no qualifier set could be obtained
//
// "   ==> " is three blanks, the arrow and one blank; the value is the text of
// FormatWmiValue, or nothing when it gives none.
#pragma once

#include "InventoryObject.h"

#include <optional>
#include <string>
#include <string_view>

namespace sentinax {

// The line (UTF-8) for one property, or an empty optional when reading it
// failed in a way that ends the walk over the object's properties: the name
// unreadable, the type unreadable, the key qualifier unreadable or present and
// false, or the value unreadable.
std::optional<std::string> BuildPropertyLine(const InventoryProperty& property);

// A line containing "null" (lower case, anywhere: name, type or value) is
// neither shown nor written. The test runs over the whole line, before the
// line is cut to its field, so a null value at the end of a long line still
// hides it.
bool IsPropertyLineShown(std::string_view line);

} // namespace sentinax
