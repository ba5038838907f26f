#include "InputClasses.h"

#include "InputCapabilities.h"

namespace sentinax {

namespace {

bool IsInputNode(const DeviceInfo& device) {
    const std::string& name = device.SysName;
    return name.size() > 5 && name.rfind("input", 0) == 0 &&
           name.find_first_not_of("0123456789", 5) == std::string::npos;
}

InputKind Kind(const DeviceInfo& device) {
    const std::string& path = device.SysPath;
    InputCapabilityText caps;
    caps.Ev = Attr(path, "capabilities/ev").value_or("");
    caps.Key = Attr(path, "capabilities/key").value_or("");
    caps.Rel = Attr(path, "capabilities/rel").value_or("");
    caps.Abs = Attr(path, "capabilities/abs").value_or("");
    caps.Props = Attr(path, "properties").value_or("");
    return ClassifyInput(device.Properties, caps);
}

ValueMap CommonValues(const DeviceInfo& device) {
    ValueMap values;
    const std::string& path = device.SysPath;
    PutString(values, "Name", Attr(path, "name"));
    PutString(values, "Phys", Attr(path, "phys"));
    PutString(values, "Driver", DriverName(path));
    PutString(values, "VendorID", Attr(path, "id/vendor"));
    PutString(values, "ProductID", Attr(path, "id/product"));
    if (const auto bus = ParseHex(Attr(path, "id/bustype").value_or(""))) {
        PutString(values, "BusType", InputBusName(*bus));
    }
    return values;
}

const std::vector<ClassProperty> kCommon = {
    {"DeviceID", "string"}, {"Name", "string"},      {"Phys", "string"},    {"Driver", "string"},
    {"VendorID", "string"}, {"ProductID", "string"}, {"BusType", "string"},
};

using Wanted = bool (*)(const InputKind&);
using Extra = void (*)(const InputKind&, ValueMap&);

std::unique_ptr<InventoryClass> MakeInputClass(InventoryContext context, const char* className,
                                               std::vector<ClassProperty> extraSchema,
                                               Wanted wanted, Extra extra) {
    DeviceEnumerator* devices = &context.Devices;
    auto keys = [devices, wanted]() -> std::optional<std::vector<std::string>> {
        std::vector<std::string> names;
        for (const DeviceInfo& device : devices->List("input")) {
            if (IsInputNode(device) && wanted(Kind(device))) {
                names.push_back(device.SysName);
            }
        }
        return names;
    };
    auto reader = [devices, wanted, extra](const std::string& key) -> std::optional<ValueMap> {
        const auto device = devices->Find("input", key);
        if (!device) {
            return std::nullopt;
        }
        const InputKind kind = Kind(*device);
        if (!wanted(kind)) {
            return std::nullopt;
        }
        ValueMap values = CommonValues(*device);
        extra(kind, values);
        return values;
    };
    extraSchema.insert(extraSchema.end(), kCommon.begin(), kCommon.end());
    return std::make_unique<InventoryClass>(className, "DeviceID", std::move(extraSchema),
                                            std::move(keys), std::move(reader));
}

} // namespace

std::string InputBusName(uint64_t busType) {
    switch (busType) {
    case 0x01:
        return "PCI";
    case 0x03:
        return "USB";
    case 0x05:
        return "Bluetooth";
    case 0x06:
        return "Virtual";
    case 0x10:
        return "ISA";
    case 0x11:
        return "PS/2";
    case 0x18:
        return "I2C";
    case 0x19:
        return "Host";
    case 0x1C:
        return "SPI";
    default:
        return "Bus " + std::to_string(busType);
    }
}

std::unique_ptr<InventoryClass> MakeKeyboardClass(InventoryContext context) {
    return MakeInputClass(
        context, "Sx_Keyboard", {{"NumberOfFunctionKeys", "uint16"}},
        [](const InputKind& kind) { return kind.Keyboard; },
        [](const InputKind& kind, ValueMap& values) {
            PutUint32(values, "NumberOfFunctionKeys", static_cast<uint64_t>(kind.FunctionKeys));
        });
}

std::unique_ptr<InventoryClass> MakePointingDeviceClass(InventoryContext context) {
    return MakeInputClass(
        context, "Sx_PointingDevice", {{"PointingType", "string"}, {"NumberOfButtons", "uint8"}},
        [](const InputKind& kind) { return !kind.Pointing.empty(); },
        [](const InputKind& kind, ValueMap& values) {
            PutString(values, "PointingType", kind.Pointing);
            values["NumberOfButtons"] = WmiValue::Uint8(static_cast<uint8_t>(kind.Buttons));
        });
}

} // namespace sentinax
