// One object of the inventory, as the source delivers it: its relative path
// and, for each of its non-system properties in the source's order, the
// qualifiers and the value. Every optional that is empty is a read that failed;
// the fill turns each failure into the documented effect (an instance without
// children, or the end of its property walk).
#pragma once

#include "WmiValue.h"

#include <optional>
#include <string>
#include <vector>

namespace sentinax {

// The "key" qualifier of a property.
enum class KeyQualifier {
    Absent, // not a key property (the usual case)
    True,   // part of the object's key: the line shows ")*"
    False,  // present and false
    Failed, // could not be read for another reason
};

struct InventoryProperty {
    // Empty: the name could not be read from the name list.
    std::string Name;
    // False: the property's qualifier set could not be obtained.
    bool HasQualifiers = true;
    // The "CIMTYPE" qualifier ("string", "uint32", ...); empty optional: unreadable.
    std::optional<std::string> CimType;
    KeyQualifier Key = KeyQualifier::Absent;
    // Empty optional: the value could not be read. A known property without a
    // value holds WmiValue::Null().
    std::optional<WmiValue> Value;
};

struct InventoryObject {
    // The "__RELPATH" text (UTF-8), "Class.Key=\"value\""; empty optional: unreadable.
    std::optional<std::string> RelativePath;
    // The property list; empty optional: the names could not be read.
    std::optional<std::vector<InventoryProperty>> Properties;
};

} // namespace sentinax
