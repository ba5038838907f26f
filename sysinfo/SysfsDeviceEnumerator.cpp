#include "SysfsDeviceEnumerator.h"

#include "SysFiles.h"

#include <climits>
#include <cstdlib>

namespace sentinax {

std::string SysfsDeviceEnumerator::SubsystemFolder(const std::string& subsystem) const {
    const std::string classFolder = sysRoot_ + "/class/" + subsystem;
    if (IsDirectory(classFolder)) {
        return classFolder;
    }
    return sysRoot_ + "/bus/" + subsystem + "/devices";
}

std::string SysfsDeviceEnumerator::DatabaseId(const std::string& subsystem,
                                              const std::string& sysName,
                                              const PropertyMap& uevent) {
    const auto major = uevent.find("MAJOR");
    const auto minor = uevent.find("MINOR");
    if (major != uevent.end() && minor != uevent.end()) {
        return (subsystem == "block" ? "b" : "c") + major->second + ":" + minor->second;
    }
    const auto ifindex = uevent.find("IFINDEX");
    if (subsystem == "net" && ifindex != uevent.end()) {
        return "n" + ifindex->second;
    }
    return "+" + subsystem + ":" + sysName;
}

PropertyMap SysfsDeviceEnumerator::ParseDatabase(const std::string& text) {
    PropertyMap values;
    std::string_view rest = text;
    while (!rest.empty()) {
        const auto end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        if (line.size() < 2 || line.substr(0, 2) != "E:") {
            continue;
        }
        const auto equals = line.find('=');
        if (equals != std::string_view::npos && equals > 2) {
            values[std::string(line.substr(2, equals - 2))] = std::string(line.substr(equals + 1));
        }
    }
    return values;
}

namespace {

PropertyMap ReadUevent(const std::string& sysPath) {
    if (const auto uevent = ReadFileText(sysPath + "/uevent", kMaxAttribute)) {
        return ParseKeyValueLines(*uevent);
    }
    return {};
}

} // namespace

void SysfsDeviceEnumerator::AddDatabase(const std::string& subsystem, const std::string& sysName,
                                        PropertyMap& properties) const {
    const std::string id = DatabaseId(subsystem, sysName, properties);
    if (const auto db = ReadFileText(runRoot_ + "/udev/data/" + id, kMaxAttribute)) {
        for (auto& [key, value] : ParseDatabase(*db)) {
            properties[key] = std::move(value);
        }
    }
}

PropertyMap SysfsDeviceEnumerator::PropertiesAt(const std::string& sysPath) {
    PropertyMap values = ReadUevent(sysPath);
    // The database is keyed by the device's own name, not by the link that led here.
    char resolved[PATH_MAX];
    const auto subsystem = LinkTargetName(sysPath + "/subsystem");
    if (subsystem && ::realpath(sysPath.c_str(), resolved)) {
        std::string_view name = resolved;
        name.remove_prefix(name.rfind('/') + 1);
        AddDatabase(*subsystem, std::string(name), values);
    }
    return values;
}

DeviceInfo SysfsDeviceEnumerator::Read(const std::string& subsystem, const std::string& folder,
                                       const std::string& sysName) {
    DeviceInfo device;
    device.SysPath = folder + "/" + sysName;
    device.SysName = sysName;
    device.Subsystem = subsystem;
    device.Properties = ReadUevent(device.SysPath);
    device.DevType = device.Property("DEVTYPE");
    AddDatabase(subsystem, sysName, device.Properties);
    return device;
}

std::vector<DeviceInfo> SysfsDeviceEnumerator::List(const std::string& subsystem) {
    std::vector<DeviceInfo> devices;
    const std::string folder = SubsystemFolder(subsystem);
    for (const std::string& name : ListDirectory(folder)) {
        if (IsDirectory(folder + "/" + name)) {
            devices.push_back(Read(subsystem, folder, name));
        }
    }
    return devices;
}

std::optional<DeviceInfo> SysfsDeviceEnumerator::Find(const std::string& subsystem,
                                                      const std::string& sysName) {
    if (sysName.empty() || sysName.find('/') != std::string::npos || sysName == "." ||
        sysName == "..") {
        return std::nullopt;
    }
    const std::string folder = SubsystemFolder(subsystem);
    if (!IsDirectory(folder + "/" + sysName)) {
        return std::nullopt;
    }
    return Read(subsystem, folder, sysName);
}

} // namespace sentinax
