#include "FirmwareClasses.h"

#include "SmbiosMemory.h"
#include "SysFiles.h"

#include <array>

namespace sentinax {

namespace {

// Fixed keys of the one-instance classes.
constexpr const char* kBiosTag = "BIOS";
constexpr const char* kBoardTag = "Base Board";
constexpr const char* kMemoryTagPrefix = "Physical Memory ";

std::string DmiFolder(const InventoryHost& host) {
    return host.SysRoot + "/class/dmi/id";
}

std::optional<std::vector<std::string>> OneIf(bool present, const char* tag) {
    std::vector<std::string> keys;
    if (present) {
        keys.emplace_back(tag);
    }
    return keys;
}

bool AnyReadable(const std::string& folder, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        if (Attr(folder, name)) {
            return true;
        }
    }
    return false;
}

std::optional<ValueMap> ReadBios(const InventoryHost& host) {
    const std::string dmi = DmiFolder(host);
    if (!AnyReadable(dmi, {"bios_vendor", "bios_version", "bios_date"})) {
        return std::nullopt;
    }
    ValueMap values;
    PutString(values, "Manufacturer", Attr(dmi, "bios_vendor"));
    PutString(values, "SMBIOSBIOSVersion", Attr(dmi, "bios_version"));
    PutString(values, "BIOSRelease", Attr(dmi, "bios_release"));
    PutString(values, "EmbeddedControllerVersion", Attr(dmi, "ec_firmware_release"));
    if (const auto date = Attr(dmi, "bios_date")) {
        if (auto cim = DmiDateToCim(*date)) {
            values["ReleaseDate"] = WmiValue::Datetime(std::move(*cim));
        }
    }
    return values;
}

std::optional<ValueMap> ReadBoard(const InventoryHost& host) {
    const std::string dmi = DmiFolder(host);
    if (!AnyReadable(dmi, {"board_vendor", "board_name", "sys_vendor", "product_name"})) {
        return std::nullopt;
    }
    ValueMap values;
    PutString(values, "Manufacturer", Attr(dmi, "board_vendor"));
    PutString(values, "Product", Attr(dmi, "board_name"));
    PutString(values, "Version", Attr(dmi, "board_version"));
    PutString(values, "SerialNumber", Attr(dmi, "board_serial"));
    PutString(values, "AssetTag", Attr(dmi, "board_asset_tag"));
    PutString(values, "SystemManufacturer", Attr(dmi, "sys_vendor"));
    PutString(values, "SystemProduct", Attr(dmi, "product_name"));
    PutString(values, "SystemVersion", Attr(dmi, "product_version"));
    PutString(values, "SystemFamily", Attr(dmi, "product_family"));
    PutString(values, "SystemSerialNumber", Attr(dmi, "product_serial"));
    if (const auto chassis = ParseUnsigned(Attr(dmi, "chassis_type").value_or(""))) {
        PutString(values, "ChassisType", ChassisTypeName(*chassis));
    }
    return values;
}

std::vector<MemoryDevice> ReadMemoryDevices(const InventoryHost& host) {
    const auto table = ReadFileText(host.SysRoot + "/firmware/dmi/tables/DMI");
    if (!table) {
        return {};
    }
    return ParseMemoryDevices(reinterpret_cast<const uint8_t*>(table->data()), table->size());
}

ValueMap MemoryValues(const MemoryDevice& device) {
    ValueMap values;
    PutString(values, "DeviceLocator", NonEmpty(device.DeviceLocator));
    PutString(values, "BankLabel", NonEmpty(device.BankLocator));
    PutString(values, "Manufacturer", NonEmpty(device.Manufacturer));
    PutString(values, "SerialNumber", NonEmpty(device.SerialNumber));
    PutString(values, "PartNumber", NonEmpty(device.PartNumber));
    PutString(values, "MemoryType", NonEmpty(device.MemoryType));
    PutString(values, "FormFactor", NonEmpty(device.FormFactor));
    PutUint64(values, "Capacity", device.SizeBytes);
    PutUint32(values, "Speed", device.Speed);
    PutUint32(values, "ConfiguredClockSpeed", device.ConfiguredSpeed);
    PutUint32(values, "ConfiguredVoltage", device.ConfiguredVoltage);
    PutUint32(values, "DataWidth", device.DataWidth);
    PutUint32(values, "TotalWidth", device.TotalWidth);
    return values;
}

} // namespace

std::optional<std::string> DmiDateToCim(std::string_view date) {
    // MM/DD/YYYY, or MM/DD/YY on old firmware (read as 19YY or 20YY).
    const auto first = date.find('/');
    const auto second = first == std::string_view::npos ? first : date.find('/', first + 1);
    if (second == std::string_view::npos) {
        return std::nullopt;
    }
    const auto month = ParseUnsigned(date.substr(0, first));
    const auto day = ParseUnsigned(date.substr(first + 1, second - first - 1));
    auto year = ParseUnsigned(date.substr(second + 1));
    if (!month || !day || !year || *month < 1 || *month > 12 || *day < 1 || *day > 31 ||
        *year > 9999) {
        return std::nullopt;
    }
    if (date.size() - second - 1 == 2) {
        *year += *year < 80 ? 2000 : 1900;
    }
    return CimDatetime(static_cast<int>(*year), static_cast<int>(*month), static_cast<int>(*day), 0,
                       0, 0, 0);
}

std::string ChassisTypeName(uint64_t type) {
    static constexpr std::array<const char*, 37> kNames = {
        "",
        "Other",
        "Unknown",
        "Desktop",
        "Low Profile Desktop",
        "Pizza Box",
        "Mini Tower",
        "Tower",
        "Portable",
        "Laptop",
        "Notebook",
        "Hand Held",
        "Docking Station",
        "All in One",
        "Sub Notebook",
        "Space-saving",
        "Lunch Box",
        "Main Server Chassis",
        "Expansion Chassis",
        "SubChassis",
        "Bus Expansion Chassis",
        "Peripheral Chassis",
        "RAID Chassis",
        "Rack Mount Chassis",
        "Sealed-case PC",
        "Multi-system chassis",
        "Compact PCI",
        "Advanced TCA",
        "Blade",
        "Blade Enclosure",
        "Tablet",
        "Convertible",
        "Detachable",
        "IoT Gateway",
        "Embedded PC",
        "Mini PC",
        "Stick PC",
    };
    // Bit 7 only marks a chassis lock.
    type &= 0x7F;
    if (type > 0 && type < kNames.size()) {
        return kNames[type];
    }
    return "Type " + std::to_string(type);
}

std::unique_ptr<InventoryClass> MakeBiosClass(InventoryContext context) {
    const InventoryHost* host = &context.Host;
    return std::make_unique<InventoryClass>(
        "Sx_BIOS", "Tag",
        std::vector<ClassProperty>{{"Tag", "string"},
                                   {"Manufacturer", "string"},
                                   {"SMBIOSBIOSVersion", "string"},
                                   {"BIOSRelease", "string"},
                                   {"EmbeddedControllerVersion", "string"},
                                   {"ReleaseDate", "datetime"}},
        [host] { return OneIf(ReadBios(*host).has_value(), kBiosTag); },
        [host](const std::string& key) -> std::optional<ValueMap> {
            return key == kBiosTag ? ReadBios(*host) : std::nullopt;
        });
}

std::unique_ptr<InventoryClass> MakeBaseBoardClass(InventoryContext context) {
    const InventoryHost* host = &context.Host;
    return std::make_unique<InventoryClass>(
        "Sx_BaseBoard", "Tag",
        std::vector<ClassProperty>{{"Tag", "string"},
                                   {"Manufacturer", "string"},
                                   {"Product", "string"},
                                   {"Version", "string"},
                                   {"SerialNumber", "string"},
                                   {"AssetTag", "string"},
                                   {"SystemManufacturer", "string"},
                                   {"SystemProduct", "string"},
                                   {"SystemVersion", "string"},
                                   {"SystemFamily", "string"},
                                   {"SystemSerialNumber", "string"},
                                   {"ChassisType", "string"}},
        [host] { return OneIf(ReadBoard(*host).has_value(), kBoardTag); },
        [host](const std::string& key) -> std::optional<ValueMap> {
            return key == kBoardTag ? ReadBoard(*host) : std::nullopt;
        });
}

std::unique_ptr<InventoryClass> MakePhysicalMemoryClass(InventoryContext context) {
    const InventoryHost* host = &context.Host;
    auto keys = [host]() -> std::optional<std::vector<std::string>> {
        std::vector<std::string> tags;
        const std::size_t count = ReadMemoryDevices(*host).size();
        for (std::size_t i = 0; i < count; ++i) {
            tags.push_back(kMemoryTagPrefix + std::to_string(i));
        }
        return tags;
    };
    auto reader = [host](const std::string& key) -> std::optional<ValueMap> {
        const std::string_view prefix = kMemoryTagPrefix;
        if (key.rfind(prefix, 0) != 0) {
            return std::nullopt;
        }
        const auto index = ParseUnsigned(std::string_view(key).substr(prefix.size()));
        const auto devices = ReadMemoryDevices(*host);
        if (!index || *index >= devices.size()) {
            return std::nullopt;
        }
        return MemoryValues(devices[*index]);
    };
    return std::make_unique<InventoryClass>(
        "Sx_PhysicalMemory", "Tag",
        std::vector<ClassProperty>{{"Tag", "string"},
                                   {"DeviceLocator", "string"},
                                   {"BankLabel", "string"},
                                   {"Manufacturer", "string"},
                                   {"SerialNumber", "string"},
                                   {"PartNumber", "string"},
                                   {"MemoryType", "string"},
                                   {"FormFactor", "string"},
                                   {"Capacity", "uint64"},
                                   {"Speed", "uint32"},
                                   {"ConfiguredClockSpeed", "uint32"},
                                   {"ConfiguredVoltage", "uint32"},
                                   {"DataWidth", "uint16"},
                                   {"TotalWidth", "uint16"}},
        std::move(keys), std::move(reader));
}

} // namespace sentinax
