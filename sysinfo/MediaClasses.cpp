#include "MediaClasses.h"

#include "SysFiles.h"

namespace sentinax {

namespace {

// "card" followed by digits only: the card itself, not a connector or a node.
bool IsCardName(const std::string& name) {
    return name.size() > 4 && name.rfind("card", 0) == 0 &&
           name.find_first_not_of("0123456789", 4) == std::string::npos;
}

ValueMap ReadSoundCard(const InventoryContext& context, const DeviceInfo& device) {
    ValueMap values;
    const HardwareNames names = NamesFor(context.Devices, device);
    const auto number = ParseUnsigned(device.SysName.substr(4));
    if (const auto cards = ReadFileText(context.Host.ProcRoot + "/asound/cards"); cards && number) {
        const auto all = ParseSoundCards(*cards);
        const auto it = all.find(static_cast<int>(*number));
        if (it != all.end()) {
            PutString(values, "Name", it->second);
        }
    }
    PutString(values, "CardID", Attr(device.SysPath, "id"));
    PutString(values, "ProductName", names.Model);
    PutString(values, "Manufacturer", names.Vendor);
    PutString(values, "Driver", DriverName(device.SysPath));
    PutString(values, "PNPDeviceID", Modalias(device.SysPath));
    return values;
}

bool IsDisplayFunction(const DeviceInfo& device) {
    const auto pciClass = ParseHex(Attr(device.SysPath, "class").value_or(""));
    return pciClass && (*pciClass >> 16) == 0x03;
}

// The connected outputs (cardN-<output> folders) and the mode of the first
// of them that reports one.
void ReadOutputs(const DeviceInfo& card, ValueMap& values) {
    std::string connected;
    bool haveMode = false;
    for (const std::string& child : ListDirectory(card.SysPath)) {
        if (child.rfind(card.SysName + "-", 0) != 0) {
            continue;
        }
        const std::string folder = card.SysPath + "/" + child;
        if (Attr(folder, "status").value_or("") != "connected") {
            continue;
        }
        const auto mode =
            ParseModeLine(ReadFileText(folder + "/modes", kMaxAttribute).value_or(""));
        if (mode && !haveMode) {
            haveMode = true;
            PutUint32(values, "CurrentHorizontalResolution", mode->first);
            PutUint32(values, "CurrentVerticalResolution", mode->second);
        }
        connected += (connected.empty() ? "" : ", ") + child.substr(card.SysName.size() + 1);
    }
    PutString(values, "ConnectedOutputs", NonEmpty(connected));
}

ValueMap ReadVideo(DeviceEnumerator& devices, const DeviceInfo& device, bool drm) {
    ValueMap values;
    HardwareNames names = NamesFor(devices, device);
    if (!drm) {
        // A PCI function carries the database names itself.
        const PropertyMap own =
            devices.HardwareDatabase(Attr(device.SysPath, "modalias").value_or(""));
        const auto take = [&own](const char* key, std::optional<std::string>& out) {
            const auto it = own.find(key);
            if (!out && it != own.end())
                out = it->second;
        };
        take("ID_VENDOR_FROM_DATABASE", names.Vendor);
        take("ID_MODEL_FROM_DATABASE", names.Model);
    }
    PutString(values, "Name", names.Model);
    PutString(values, "AdapterCompatibility", names.Vendor);
    PutString(values, "Driver", DriverName(device.SysPath));
    PutString(values, "PNPDeviceID", Modalias(device.SysPath));
    const std::string gpu = drm ? device.SysPath + "/device" : device.SysPath;
    PutUint64(values, "AdapterRAM", ParseUnsigned(Attr(gpu, "mem_info_vram_total").value_or("")));
    if (drm) {
        ReadOutputs(device, values);
    }
    return values;
}

} // namespace

std::map<int, std::string> ParseSoundCards(std::string_view text) {
    std::map<int, std::string> cards;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        line = Trim(line);
        const auto bracket = line.find(" [");
        const auto close = line.find("]: ");
        if (bracket == std::string_view::npos || close == std::string_view::npos ||
            close < bracket) {
            continue;
        }
        const auto number = ParseUnsigned(line.substr(0, bracket));
        if (!number || *number > 4096) {
            continue;
        }
        std::string_view rest = line.substr(close + 3);
        const auto dash = rest.find(" - ");
        const std::string_view name =
            Trim(dash == std::string_view::npos ? rest : rest.substr(dash + 3));
        if (!name.empty()) {
            cards[static_cast<int>(*number)] = std::string(name);
        }
    }
    return cards;
}

std::optional<std::pair<uint64_t, uint64_t>> ParseModeLine(std::string_view modes) {
    const std::string_view first = Trim(modes.substr(0, modes.find('\n')));
    const auto x = first.find('x');
    if (x == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view height = first.substr(x + 1);
    // Interlaced modes end in "i".
    const auto digits = height.find_first_not_of("0123456789");
    height = height.substr(0, digits);
    const auto w = ParseUnsigned(first.substr(0, x));
    const auto h = ParseUnsigned(height);
    if (!w || !h) {
        return std::nullopt;
    }
    return std::make_pair(*w, *h);
}

std::unique_ptr<InventoryClass> MakeSoundDeviceClass(InventoryContext context) {
    DeviceEnumerator* devices = &context.Devices;
    const InventoryHost* host = &context.Host;
    auto keys = [devices]() -> std::optional<std::vector<std::string>> {
        std::vector<std::string> names;
        for (const DeviceInfo& device : devices->List("sound")) {
            if (IsCardName(device.SysName)) {
                names.push_back(device.SysName);
            }
        }
        return names;
    };
    auto reader = [devices, host](const std::string& key) -> std::optional<ValueMap> {
        if (!IsCardName(key)) {
            return std::nullopt;
        }
        const auto device = devices->Find("sound", key);
        if (!device) {
            return std::nullopt;
        }
        return ReadSoundCard(InventoryContext{*host, *devices}, *device);
    };
    return std::make_unique<InventoryClass>("Sx_SoundDevice", "DeviceID",
                                            std::vector<ClassProperty>{{"DeviceID", "string"},
                                                                       {"Name", "string"},
                                                                       {"CardID", "string"},
                                                                       {"ProductName", "string"},
                                                                       {"Manufacturer", "string"},
                                                                       {"Driver", "string"},
                                                                       {"PNPDeviceID", "string"}},
                                            std::move(keys), std::move(reader));
}

std::unique_ptr<InventoryClass> MakeVideoControllerClass(InventoryContext context) {
    DeviceEnumerator* devices = &context.Devices;
    // Display adapters with a kernel graphics driver appear as drm cards; where
    // there are none (no driver, or a server without one), the PCI display
    // functions are listed instead.
    auto keys = [devices]() -> std::optional<std::vector<std::string>> {
        std::vector<std::string> names;
        for (const DeviceInfo& device : devices->List("drm")) {
            if (IsCardName(device.SysName)) {
                names.push_back(device.SysName);
            }
        }
        if (names.empty()) {
            for (const DeviceInfo& device : devices->List("pci")) {
                if (IsDisplayFunction(device)) {
                    names.push_back(device.SysName);
                }
            }
        }
        return names;
    };
    auto reader = [devices](const std::string& key) -> std::optional<ValueMap> {
        if (IsCardName(key)) {
            const auto card = devices->Find("drm", key);
            return card ? std::optional<ValueMap>(ReadVideo(*devices, *card, true)) : std::nullopt;
        }
        const auto function = devices->Find("pci", key);
        if (!function || !IsDisplayFunction(*function)) {
            return std::nullopt;
        }
        return ReadVideo(*devices, *function, false);
    };
    return std::make_unique<InventoryClass>(
        "Sx_VideoController", "DeviceID",
        std::vector<ClassProperty>{{"DeviceID", "string"},
                                   {"Name", "string"},
                                   {"AdapterCompatibility", "string"},
                                   {"Driver", "string"},
                                   {"PNPDeviceID", "string"},
                                   {"AdapterRAM", "uint64"},
                                   {"ConnectedOutputs", "string"},
                                   {"CurrentHorizontalResolution", "uint32"},
                                   {"CurrentVerticalResolution", "uint32"}},
        std::move(keys), std::move(reader));
}

} // namespace sentinax
