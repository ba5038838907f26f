#include "UdevDeviceEnumerator.h"

#include "SysFiles.h"

#include <algorithm>
#include <libudev.h>

namespace sentinax {

namespace {

PropertyMap ListToMap(struct udev_list_entry* first) {
    PropertyMap values;
    struct udev_list_entry* entry;
    udev_list_entry_foreach(entry, first) {
        const char* name = udev_list_entry_get_name(entry);
        const char* value = udev_list_entry_get_value(entry);
        if (name) {
            values[name] = value ? value : "";
        }
    }
    return values;
}

std::string Text(const char* text) {
    return text ? text : "";
}

// Takes ownership of the device reference.
std::optional<DeviceInfo> ToInfo(struct udev_device* device) {
    if (!device) {
        return std::nullopt;
    }
    DeviceInfo info;
    info.SysPath = Text(udev_device_get_syspath(device));
    info.SysName = Text(udev_device_get_sysname(device));
    info.Subsystem = Text(udev_device_get_subsystem(device));
    info.DevType = Text(udev_device_get_devtype(device));
    info.Properties = ListToMap(udev_device_get_properties_list_entry(device));
    udev_device_unref(device);
    return info;
}

} // namespace

std::unique_ptr<UdevDeviceEnumerator> UdevDeviceEnumerator::Create() {
    struct udev* context = udev_new();
    if (!context) {
        return nullptr;
    }
    return std::unique_ptr<UdevDeviceEnumerator>(new UdevDeviceEnumerator(context));
}

UdevDeviceEnumerator::UdevDeviceEnumerator(struct udev* context) : udev_(context) {}

UdevDeviceEnumerator::~UdevDeviceEnumerator() {
    if (hwdb_) {
        udev_hwdb_unref(hwdb_);
    }
    udev_unref(udev_);
}

std::vector<DeviceInfo> UdevDeviceEnumerator::List(const std::string& subsystem) {
    std::vector<DeviceInfo> devices;
    struct udev_enumerate* enumerate = udev_enumerate_new(udev_);
    if (!enumerate) {
        return devices;
    }
    if (udev_enumerate_add_match_subsystem(enumerate, subsystem.c_str()) >= 0 &&
        udev_enumerate_scan_devices(enumerate) >= 0) {
        struct udev_list_entry* entry;
        udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate)) {
            // A device removed between the scan and this read is simply left out.
            if (auto info =
                    ToInfo(udev_device_new_from_syspath(udev_, udev_list_entry_get_name(entry)))) {
                devices.push_back(std::move(*info));
            }
        }
    }
    udev_enumerate_unref(enumerate);
    std::sort(devices.begin(), devices.end(), [](const DeviceInfo& a, const DeviceInfo& b) {
        return NaturalLess(a.SysName, b.SysName);
    });
    return devices;
}

std::optional<DeviceInfo> UdevDeviceEnumerator::Find(const std::string& subsystem,
                                                     const std::string& sysName) {
    if (sysName.empty() || sysName.find('/') != std::string::npos) {
        return std::nullopt;
    }
    return ToInfo(
        udev_device_new_from_subsystem_sysname(udev_, subsystem.c_str(), sysName.c_str()));
}

PropertyMap UdevDeviceEnumerator::PropertiesAt(const std::string& sysPath) {
    if (auto info = ToInfo(udev_device_new_from_syspath(udev_, sysPath.c_str()))) {
        return std::move(info->Properties);
    }
    return {};
}

PropertyMap UdevDeviceEnumerator::HardwareDatabase(const std::string& modalias) {
    if (!hwdbTried_) {
        hwdbTried_ = true;
        hwdb_ = udev_hwdb_new(udev_); // null when no compiled database is installed
    }
    if (!hwdb_ || modalias.empty()) {
        return {};
    }
    return ListToMap(udev_hwdb_get_properties_list_entry(hwdb_, modalias.c_str(), 0));
}

} // namespace sentinax
