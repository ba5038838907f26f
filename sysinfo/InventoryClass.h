// One class of the Linux inventory: its name, its documented properties with
// their CIM types (shown in name order), the one key property that names an
// instance in its relative path, how to list the instances' keys and how to
// read one instance's values. A property the reader leaves out is delivered
// as a null value (and so never shown).
#pragma once

#include "InventoryObject.h"
#include "WmiValue.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace sentinax {

struct ClassProperty {
    std::string Name;
    std::string CimType; // "string", "uint32", "uint64", "boolean", "datetime", ...
};

using ValueMap = std::map<std::string, WmiValue>;

class InventoryClass {
public:
    // Empty optional: the instances cannot be listed (the category stays empty).
    using KeyLister = std::function<std::optional<std::vector<std::string>>()>;
    // Empty optional: no instance with that key (any more).
    using Reader = std::function<std::optional<ValueMap>(const std::string& key)>;

    InventoryClass(std::string name, std::string keyProperty, std::vector<ClassProperty> properties,
                   KeyLister keys, Reader reader);

    const std::string& Name() const { return name_; }
    const std::string& KeyProperty() const { return keyProperty_; }
    const std::vector<ClassProperty>& Properties() const { return properties_; }

    std::optional<std::vector<std::string>> InstanceKeys() const { return keys_(); }
    std::string PathOf(const std::string& key) const;
    // The full object: every property of the class in order, the key property
    // marked as key and holding the key.
    std::optional<InventoryObject> Object(const std::string& key) const;

private:
    std::string name_;
    std::string keyProperty_;
    std::vector<ClassProperty> properties_;
    KeyLister keys_;
    Reader reader_;
};

} // namespace sentinax
