// The inventory as text people can read and paste into a bug report, beside
// the fixed-width WMIinfo.txt: UTF-8, nothing cut, one line per item.
//
// Text: the category label, each instance's relative path indented by two
// blanks, each shown property line (as in the tree) indented by four.
// JSON: {"categories":[{"label":..,"class":..,"instances":[{"path":..,
// "properties":[{"name":..,"type":..,"key":true|false,"value":..}]}]}]}, with
// every property (null values as null), numbers as numbers and booleans as
// booleans; integers delivered as strings (uint64) stay strings.
#pragma once

#include "InventorySource.h"

#include <ostream>

namespace sentinax {

// Both return false (writing nothing) when the source cannot start.
bool WriteInventoryText(InventorySource& source, std::ostream& out);
bool WriteInventoryJson(InventorySource& source, std::ostream& out);

// A JSON string literal, quotes included; bytes that are not valid UTF-8 become U+FFFD.
std::string JsonString(std::string_view text);

} // namespace sentinax
