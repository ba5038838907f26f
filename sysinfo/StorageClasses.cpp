#include "StorageClasses.h"

#include "SysFiles.h"

#include <algorithm>

namespace sentinax {

namespace {

// udev's ID_MODEL and ID_VENDOR replace blanks by underscores.
std::optional<std::string> Unescaped(std::string text) {
    std::replace(text.begin(), text.end(), '_', ' ');
    return NonEmpty(std::string(Trim(text)));
}

std::optional<std::string> Model(const DeviceInfo& device) {
    if (auto model = Attr(device.SysPath, "device/model")) {
        return model;
    }
    return Unescaped(device.Property("ID_MODEL"));
}

// The SCSI vendor field; "ATA" names the bus, not the maker, and a bare
// number (virtio) is an id, not a name.
std::optional<std::string> Vendor(const DeviceInfo& device) {
    auto vendor = Attr(device.SysPath, "device/vendor");
    if (!vendor || *vendor == "ATA" || vendor->rfind("0x", 0) == 0) {
        vendor = Unescaped(device.Property("ID_VENDOR"));
    }
    if (vendor && (*vendor == "ATA" || vendor->rfind("0x", 0) == 0)) {
        return std::nullopt;
    }
    return vendor;
}

std::optional<std::string> Serial(const DeviceInfo& device) {
    if (auto serial = NonEmpty(device.Property("ID_SERIAL_SHORT"))) {
        return serial;
    }
    if (auto serial = Attr(device.SysPath, "device/serial")) {
        return serial;
    }
    return Attr(device.SysPath, "serial");
}

std::optional<std::string> Firmware(const DeviceInfo& device) {
    if (auto rev = Attr(device.SysPath, "device/rev")) {
        return rev;
    }
    if (auto rev = Attr(device.SysPath, "device/firmware_rev")) {
        return rev;
    }
    return NonEmpty(device.Property("ID_REVISION"));
}

std::optional<std::string> Bus(const DeviceInfo& device) {
    if (auto bus = NonEmpty(device.Property("ID_BUS"))) {
        return bus;
    }
    return LinkTargetName(device.SysPath + "/device/subsystem");
}

std::optional<uint64_t> SizeBytes(const DeviceInfo& device) {
    // The kernel counts 512-byte sectors whatever the device's own sector size.
    if (const auto sectors = Attr(device.SysPath, "size")) {
        if (const auto count = ParseUnsigned(*sectors); count && *count <= (UINT64_MAX >> 9)) {
            return *count * 512;
        }
    }
    return std::nullopt;
}

std::string DevName(const DeviceInfo& device) {
    const std::string name = device.Property("DEVNAME");
    if (name.rfind("/dev/", 0) == 0) {
        return name;
    }
    return "/dev/" + (name.empty() ? device.SysName : name);
}

// Values every block class shows.
ValueMap CommonValues(const DeviceInfo& device) {
    ValueMap values;
    PutString(values, "Name", DevName(device));
    PutString(values, "Model", Model(device));
    PutString(values, "Manufacturer", Vendor(device));
    PutString(values, "SerialNumber", Serial(device));
    PutString(values, "FirmwareRevision", Firmware(device));
    PutString(values, "InterfaceType", Bus(device));
    PutString(values, "Driver", DriverName(device.SysPath));
    PutString(values, "PNPDeviceID", Modalias(device.SysPath));
    const auto size = SizeBytes(device);
    PutUint64(values, "Size", size && *size > 0 ? size : std::nullopt);
    return values;
}

const std::vector<ClassProperty> kCommonProperties = {
    {"DeviceID", "string"},      {"Name", "string"},         {"Model", "string"},
    {"Manufacturer", "string"},  {"SerialNumber", "string"}, {"FirmwareRevision", "string"},
    {"InterfaceType", "string"}, {"Driver", "string"},       {"PNPDeviceID", "string"},
    {"Size", "uint64"},
};

std::vector<ClassProperty> With(std::vector<ClassProperty> extra) {
    extra.insert(extra.end(), kCommonProperties.begin(), kCommonProperties.end());
    return extra;
}

std::unique_ptr<InventoryClass> MakeBlockClass(InventoryContext context, const char* className,
                                               BlockKind kind, std::vector<ClassProperty> schema,
                                               void (*extra)(const DeviceInfo&, ValueMap&)) {
    DeviceEnumerator* devices = &context.Devices;
    auto keys = [devices, kind]() -> std::optional<std::vector<std::string>> {
        std::vector<std::string> names;
        for (const DeviceInfo& device : devices->List("block")) {
            if (ClassifyBlockDevice(device) == kind) {
                names.push_back(device.SysName);
            }
        }
        return names;
    };
    auto reader = [devices, kind, extra](const std::string& key) -> std::optional<ValueMap> {
        const auto device = devices->Find("block", key);
        if (!device || ClassifyBlockDevice(*device) != kind) {
            return std::nullopt;
        }
        ValueMap values = CommonValues(*device);
        extra(*device, values);
        return values;
    };
    return std::make_unique<InventoryClass>(className, "DeviceID", std::move(schema),
                                            std::move(keys), std::move(reader));
}

void DiskExtra(const DeviceInfo& device, ValueMap& values) {
    const auto removable = Attr(device.SysPath, "removable");
    PutString(values, "MediaType",
              removable ? std::optional<std::string>(*removable == "1" ? "Removable media"
                                                                       : "Fixed hard disk media")
                        : std::nullopt);
    if (const auto rotational = Attr(device.SysPath, "queue/rotational")) {
        PutBoolean(values, "Rotational", *rotational == "1");
    }
    PutUint32(values, "BytesPerSector",
              ParseUnsigned(Attr(device.SysPath, "queue/logical_block_size").value_or("")));
    uint64_t partitions = 0;
    for (const std::string& child : ListDirectory(device.SysPath)) {
        if (Attr(device.SysPath + "/" + child, "partition")) {
            ++partitions;
        }
    }
    PutUint32(values, "Partitions", partitions);
}

void RemovableExtra(const DeviceInfo& device, ValueMap& values) {
    const auto size = SizeBytes(device);
    PutBoolean(values, "MediaLoaded",
               size.has_value() ? std::optional<bool>(*size > 0) : std::nullopt);
}

bool StartsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

} // namespace

BlockKind ClassifyBlockDevice(const DeviceInfo& device) {
    if (!device.DevType.empty() && device.DevType != "disk") {
        return BlockKind::None;
    }
    if (device.Property("ID_CDROM") == "1" || StartsWith(device.SysName, "sr") ||
        Attr(device.SysPath, "device/type").value_or("") == "5") {
        return BlockKind::Optical;
    }
    if (device.Property("MAJOR") == "2" || StartsWith(device.SysName, "fd")) {
        return BlockKind::Floppy;
    }
    // Loop, zram, ram, device-mapper, md and nbd devices have no device behind them.
    if (!IsDirectory(device.SysPath + "/device")) {
        return BlockKind::None;
    }
    return BlockKind::Disk;
}

std::unique_ptr<InventoryClass> MakeDiskDriveClass(InventoryContext context) {
    return MakeBlockClass(context, "Sx_DiskDrive", BlockKind::Disk,
                          With({{"MediaType", "string"},
                                {"Rotational", "boolean"},
                                {"BytesPerSector", "uint32"},
                                {"Partitions", "uint32"}}),
                          DiskExtra);
}

std::unique_ptr<InventoryClass> MakeCdromDriveClass(InventoryContext context) {
    return MakeBlockClass(context, "Sx_CDROMDrive", BlockKind::Optical,
                          With({{"MediaLoaded", "boolean"}}), RemovableExtra);
}

std::unique_ptr<InventoryClass> MakeFloppyDriveClass(InventoryContext context) {
    return MakeBlockClass(context, "Sx_FloppyDrive", BlockKind::Floppy,
                          With({{"MediaLoaded", "boolean"}}), RemovableExtra);
}

} // namespace sentinax
