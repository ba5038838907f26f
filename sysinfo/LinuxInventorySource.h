// The inventory of a Linux machine behind the inventory operations: one class
// per category (docs/inventory.md lists them with their properties), built
// from the device database (libudev, or the sysfs files where libudev cannot
// start), DMI, procfs, os-release, uname and the X11 screen. Every read happens
// when it is asked for, so an object is read afresh each time and a device
// that went away meanwhile is simply not there.
#pragma once

#include "DeviceEnumerator.h"
#include "InventoryClass.h"
#include "InventoryHost.h"
#include "InventorySource.h"

#include <memory>
#include <vector>

namespace sentinax {

class LinuxInventorySource : public InventorySource {
public:
    explicit LinuxInventorySource(InventoryHost host);
    ~LinuxInventorySource() override;

    // Fails for another namespace, and when nothing of the machine can be
    // read: no device database, no sysfs, no cpuinfo and no os-release.
    bool Connect(const std::string& namespacePath) override;
    std::unique_ptr<InstanceEnumeration> EnumerateInstances(const std::string& className) override;
    std::optional<InventoryObject> GetObject(const std::string& relativePath) override;

    // The classes, in category order; empty before Connect.
    const std::vector<std::unique_ptr<InventoryClass>>& Classes() const { return classes_; }
    // True when devices come through libudev.
    bool UsesUdev() const { return usesUdev_; }

private:
    const InventoryClass* Find(const std::string& className) const;

    InventoryHost host_;
    std::unique_ptr<DeviceEnumerator> devices_;
    std::vector<std::unique_ptr<InventoryClass>> classes_;
    bool usesUdev_ = false;
};

// The source for this machine (InventoryHost::System()).
std::unique_ptr<InventorySource> MakeSystemInventorySource();

} // namespace sentinax
