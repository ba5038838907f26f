// The device database as the inventory classes see it: devices by subsystem,
// each with its sysfs folder and its properties (the kernel's uevent values
// and, where udev runs, the values of udev's database), and names for
// hardware ids from udev's hardware database. Two implementations: udev
// (UdevDeviceEnumerator) and plain sysfs files (SysfsDeviceEnumerator).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace sentinax {

using PropertyMap = std::map<std::string, std::string>;

struct DeviceInfo {
    std::string SysPath;   // the device's folder; its attributes are files in it
    std::string SysName;   // "sda", "eth0", "card0", "input3"
    std::string Subsystem; // "block", "net", "sound", "input", "drm", "pci"
    std::string DevType;   // "disk", "partition", ...; empty when the kernel gives none
    PropertyMap Properties;

    std::string Property(const std::string& key) const {
        const auto it = Properties.find(key);
        return it == Properties.end() ? std::string() : it->second;
    }
};

class DeviceEnumerator {
public:
    virtual ~DeviceEnumerator() = default;
    // The devices of a subsystem, in natural order of their names.
    virtual std::vector<DeviceInfo> List(const std::string& subsystem) = 0;
    // One device, read afresh; empty when it is gone.
    virtual std::optional<DeviceInfo> Find(const std::string& subsystem,
                                           const std::string& sysName) = 0;
    // The properties of the device in a sysfs folder (a parent such as the
    // PCI function of a network interface); empty when there are none.
    virtual PropertyMap PropertiesAt(const std::string& sysPath) = 0;
    // The hardware database's entries for a modalias ("pci:v00008086d..."),
    // such as ID_VENDOR_FROM_DATABASE and ID_MODEL_FROM_DATABASE; empty
    // without a database.
    virtual PropertyMap HardwareDatabase(const std::string& modalias) = 0;
};

} // namespace sentinax
