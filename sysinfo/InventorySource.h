// Where the inventory comes from: the few operations that the fill needs. The
// Linux source builds them from udev, sysfs, DMI and procfs; tests pass doubles.
#pragma once

#include "InventoryObject.h"

#include <memory>
#include <optional>
#include <string>

namespace sentinax {

// The instances of one class, delivered one at a time in enumeration order.
class InstanceEnumeration {
public:
    virtual ~InstanceEnumeration() = default;
    // The next instance; only its relative path needs to be filled in. Empty at the end.
    virtual std::optional<InventoryObject> Next() = 0;
};

class InventorySource {
public:
    virtual ~InventorySource() = default;
    // Opens the source for the namespace. False only when the source cannot
    // start at all: the dialog then reports that the inventory is unavailable.
    virtual bool Connect(const std::string& namespacePath) = 0;
    // Null when the enumeration of the class cannot be created.
    virtual std::unique_ptr<InstanceEnumeration>
    EnumerateInstances(const std::string& className) = 0;
    // The object named by a relative path, read afresh with all its properties.
    // Empty when it cannot be read (for example a device unplugged meanwhile).
    virtual std::optional<InventoryObject> GetObject(const std::string& relativePath) = 0;
};

} // namespace sentinax
