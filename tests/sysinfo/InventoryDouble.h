// A scripted inventory source: classes with fixed objects, and switches for
// every failure the fill must survive (no start, an enumeration that cannot be
// created, an object gone by the time it is read).
#pragma once

#include "sysinfo/InventorySource.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace sentinax::testing {

inline InventoryProperty Prop(std::string name, std::string type, WmiValue value,
                              KeyQualifier key = KeyQualifier::Absent) {
    InventoryProperty p;
    p.Name = std::move(name);
    p.CimType = std::move(type);
    p.Key = key;
    p.Value = std::move(value);
    return p;
}

inline InventoryObject Object(std::string path, std::vector<InventoryProperty> properties) {
    return InventoryObject{std::move(path), std::move(properties)};
}

class InventoryDouble : public InventorySource {
public:
    bool ConnectWorks = true;
    // Objects by class, in enumeration order.
    std::map<std::string, std::vector<InventoryObject>> Classes;
    // Classes whose enumeration cannot be created.
    std::set<std::string> Broken;
    // Paths whose object cannot be read any more.
    std::set<std::string> Gone;
    // What the fill asked for.
    std::vector<std::string> ConnectedTo;
    std::vector<std::string> ObjectRequests;

    bool Connect(const std::string& namespacePath) override {
        ConnectedTo.push_back(namespacePath);
        return ConnectWorks;
    }

    std::unique_ptr<InstanceEnumeration> EnumerateInstances(const std::string& className) override {
        if (Broken.count(className) != 0) {
            return nullptr;
        }
        const auto it = Classes.find(className);
        return std::make_unique<Enumeration>(it == Classes.end() ? nullptr : &it->second);
    }

    std::optional<InventoryObject> GetObject(const std::string& relativePath) override {
        ObjectRequests.push_back(relativePath);
        if (Gone.count(relativePath) != 0) {
            return std::nullopt;
        }
        for (const auto& [name, objects] : Classes) {
            for (const InventoryObject& object : objects) {
                if (object.RelativePath == relativePath) {
                    return object;
                }
            }
        }
        return std::nullopt;
    }

private:
    class Enumeration : public InstanceEnumeration {
    public:
        explicit Enumeration(const std::vector<InventoryObject>* objects) : objects_(objects) {}
        std::optional<InventoryObject> Next() override {
            if (!objects_ || next_ >= objects_->size()) {
                return std::nullopt;
            }
            // Only the path travels with the enumeration, as from a real source.
            return InventoryObject{(*objects_)[next_++].RelativePath, std::nullopt};
        }

    private:
        const std::vector<InventoryObject>* objects_;
        std::size_t next_ = 0;
    };
};

} // namespace sentinax::testing
