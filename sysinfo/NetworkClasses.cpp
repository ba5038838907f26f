#include "NetworkClasses.h"

#include "SysFiles.h"

namespace sentinax {

namespace {

constexpr uint64_t kArphrdLoopback = 772;

bool IsLoopback(const DeviceInfo& device) {
    const auto type = ParseUnsigned(Attr(device.SysPath, "type").value_or(""));
    return type && *type == kArphrdLoopback;
}

std::optional<std::string> MacAddress(const std::string& sysPath) {
    const auto address = Attr(sysPath, "address");
    // Interfaces without a hardware address show zeros (tunnels) or nothing.
    if (!address || address->find_first_not_of("0:") == std::string::npos) {
        return std::nullopt;
    }
    std::string upper = *address;
    for (char& c : upper) {
        if (c >= 'a' && c <= 'f') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

ValueMap ReadAdapter(DeviceEnumerator& devices, const DeviceInfo& device) {
    ValueMap values;
    const std::string& path = device.SysPath;
    const HardwareNames names = NamesFor(devices, device);
    PutString(values, "ProductName", names.Model);
    PutString(values, "Manufacturer", names.Vendor);
    PutString(values, "MACAddress", MacAddress(path));
    PutString(values, "NetConnectionStatus", Attr(path, "operstate"));
    PutString(values, "Duplex", Attr(path, "duplex"));
    PutString(values, "Driver", DriverName(path));
    PutString(values, "PNPDeviceID", Attr(path, "device/modalias"));
    PutUint32(values, "MTU", ParseUnsigned(Attr(path, "mtu").value_or("")));
    PutUint32(values, "InterfaceIndex", ParseUnsigned(Attr(path, "ifindex").value_or("")));
    // Megabits per second; unreadable or -1 while the link is down.
    const auto speed = ParseSigned(Attr(path, "speed").value_or(""));
    if (speed && *speed > 0) {
        PutUint64(values, "Speed", static_cast<uint64_t>(*speed) * 1000000u);
    }
    const bool physical = IsDirectory(path + "/device");
    PutBoolean(values, "PhysicalAdapter", physical);
    if (const auto type = ParseUnsigned(Attr(path, "type").value_or(""))) {
        const bool wireless = IsDirectory(path + "/wireless") || IsDirectory(path + "/phy80211") ||
                              device.DevType == "wlan";
        PutString(values, "AdapterType", AdapterTypeName(*type, wireless));
    }
    return values;
}

} // namespace

std::string AdapterTypeName(uint64_t arphrdType, bool wireless) {
    switch (arphrdType) {
    case 1:
        return wireless ? "Wireless" : "Ethernet 802.3";
    case 32:
        return "InfiniBand";
    case 512:
        return "PPP";
    case 768:
    case 769:
    case 776:
    case 778:
    case 823:
        return "Tunnel";
    case 801:
    case 802:
    case 803:
        return "Wireless";
    case 65534:
        return "None";
    default:
        return "Type " + std::to_string(arphrdType);
    }
}

std::unique_ptr<InventoryClass> MakeNetworkAdapterClass(InventoryContext context) {
    DeviceEnumerator* devices = &context.Devices;
    auto keys = [devices]() -> std::optional<std::vector<std::string>> {
        std::vector<std::string> names;
        for (const DeviceInfo& device : devices->List("net")) {
            if (!IsLoopback(device)) {
                names.push_back(device.SysName);
            }
        }
        return names;
    };
    auto reader = [devices](const std::string& key) -> std::optional<ValueMap> {
        const auto device = devices->Find("net", key);
        if (!device || IsLoopback(*device)) {
            return std::nullopt;
        }
        return ReadAdapter(*devices, *device);
    };
    return std::make_unique<InventoryClass>(
        "Sx_NetworkAdapter", "DeviceID",
        std::vector<ClassProperty>{{"DeviceID", "string"},
                                   {"ProductName", "string"},
                                   {"Manufacturer", "string"},
                                   {"MACAddress", "string"},
                                   {"NetConnectionStatus", "string"},
                                   {"Duplex", "string"},
                                   {"Driver", "string"},
                                   {"PNPDeviceID", "string"},
                                   {"MTU", "uint32"},
                                   {"InterfaceIndex", "uint32"},
                                   {"Speed", "uint64"},
                                   {"PhysicalAdapter", "boolean"},
                                   {"AdapterType", "string"}},
        std::move(keys), std::move(reader));
}

} // namespace sentinax
