#include "InventoryClass.h"

#include "RelativePath.h"

#include <algorithm>

namespace sentinax {

InventoryClass::InventoryClass(std::string name, std::string keyProperty,
                               std::vector<ClassProperty> properties, KeyLister keys, Reader reader)
    : name_(std::move(name)), keyProperty_(std::move(keyProperty)),
      properties_(std::move(properties)), keys_(std::move(keys)), reader_(std::move(reader)) {
    std::sort(properties_.begin(), properties_.end(),
              [](const ClassProperty& a, const ClassProperty& b) { return a.Name < b.Name; });
}

std::string InventoryClass::PathOf(const std::string& key) const {
    return BuildRelativePath({name_, {{keyProperty_, key}}});
}

std::optional<InventoryObject> InventoryClass::Object(const std::string& key) const {
    auto values = reader_(key);
    if (!values) {
        return std::nullopt;
    }
    InventoryObject object;
    object.RelativePath = PathOf(key);
    object.Properties.emplace();
    object.Properties->reserve(properties_.size());
    for (const ClassProperty& property : properties_) {
        InventoryProperty out;
        out.Name = property.Name;
        out.CimType = property.CimType;
        if (property.Name == keyProperty_) {
            out.Key = KeyQualifier::True;
            out.Value = WmiValue::String(key);
        } else {
            const auto it = values->find(property.Name);
            out.Value = it == values->end() ? WmiValue::Null() : it->second;
        }
        object.Properties->push_back(std::move(out));
    }
    return object;
}

} // namespace sentinax
