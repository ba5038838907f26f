// Devices read straight from sysfs files under a root: the folders of
// <sys>/class/<subsystem> (or <sys>/bus/<subsystem>/devices), their uevent
// files, and udev's database files under <run>/udev/data when they exist.
// Used where libudev is unavailable and for trees built by tests.
#pragma once

#include "DeviceEnumerator.h"

namespace sentinax {

class SysfsDeviceEnumerator : public DeviceEnumerator {
public:
    SysfsDeviceEnumerator(std::string sysRoot, std::string runRoot)
        : sysRoot_(std::move(sysRoot)), runRoot_(std::move(runRoot)) {}

    std::vector<DeviceInfo> List(const std::string& subsystem) override;
    std::optional<DeviceInfo> Find(const std::string& subsystem,
                                   const std::string& sysName) override;
    PropertyMap PropertiesAt(const std::string& sysPath) override;
    PropertyMap HardwareDatabase(const std::string&) override { return {}; }

    // The udev database file of a device: b<major>:<minor> and c<major>:<minor>
    // for device nodes, n<ifindex> for network interfaces, +<subsystem>:<name>
    // otherwise.
    static std::string DatabaseId(const std::string& subsystem, const std::string& sysName,
                                  const PropertyMap& uevent);
    // The E: lines of a database file as properties.
    static PropertyMap ParseDatabase(const std::string& text);

private:
    std::string SubsystemFolder(const std::string& subsystem) const;
    void AddDatabase(const std::string& subsystem, const std::string& sysName,
                     PropertyMap& properties) const;
    DeviceInfo Read(const std::string& subsystem, const std::string& folder,
                    const std::string& sysName);

    std::string sysRoot_;
    std::string runRoot_;
};

} // namespace sentinax
