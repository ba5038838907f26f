#include "SmbiosMemory.h"

#include <array>
#include <cstring>

namespace sentinax {

namespace {

constexpr uint8_t kTypeMemoryDevice = 17;
constexpr uint8_t kTypeEndOfTable = 127;

// Memory type and form factor names by their SMBIOS codes (index = code).
constexpr std::array<const char*, 0x25> kMemoryTypes = {
    "",
    "Other",
    "Unknown",
    "DRAM",
    "EDRAM",
    "VRAM",
    "SRAM",
    "RAM",
    "ROM",
    "Flash",
    "EEPROM",
    "FEPROM",
    "EPROM",
    "CDRAM",
    "3DRAM",
    "SDRAM",
    "SGRAM",
    "RDRAM",
    "DDR",
    "DDR2",
    "DDR2 FB-DIMM",
    "",
    "",
    "",
    "DDR3",
    "FBD2",
    "DDR4",
    "LPDDR",
    "LPDDR2",
    "LPDDR3",
    "LPDDR4",
    "Logical non-volatile device",
    "HBM",
    "HBM2",
    "DDR5",
    "LPDDR5",
    "HBM3",
};
constexpr std::array<const char*, 0x11> kFormFactors = {
    "",        "Other",  "Unknown",
    "SIMM",    "SIP",    "Chip",
    "DIP",     "ZIP",    "Proprietary Card",
    "DIMM",    "TSOP",   "Row of chips",
    "RIMM",    "SODIMM", "SRIMM",
    "FB-DIMM", "Die",
};

class Structure {
public:
    Structure(const uint8_t* data, std::size_t formatted, const uint8_t* strings,
              std::size_t stringsLength)
        : data_(data), formatted_(formatted), strings_(strings), stringsLength_(stringsLength) {}

    bool Has(std::size_t offset, std::size_t size) const { return offset + size <= formatted_; }
    std::optional<uint32_t> Byte(std::size_t offset) const {
        return Has(offset, 1) ? std::optional<uint32_t>(data_[offset]) : std::nullopt;
    }
    std::optional<uint32_t> Word(std::size_t offset) const {
        if (!Has(offset, 2))
            return std::nullopt;
        return static_cast<uint32_t>(data_[offset] | (data_[offset + 1] << 8));
    }
    std::optional<uint32_t> Dword(std::size_t offset) const {
        if (!Has(offset, 4))
            return std::nullopt;
        uint32_t value = 0;
        for (int i = 3; i >= 0; --i)
            value = (value << 8) | data_[offset + i];
        return value;
    }
    // The n-th string (1-based) of the structure's string set; empty for 0 or missing.
    std::string String(std::size_t offset) const {
        const auto number = Byte(offset);
        if (!number || *number == 0)
            return {};
        std::size_t pos = 0;
        for (uint32_t i = 1; pos < stringsLength_; ++i) {
            const auto* start = strings_ + pos;
            const std::size_t length =
                ::strnlen(reinterpret_cast<const char*>(start), stringsLength_ - pos);
            if (length == 0)
                return {}; // the set's terminating empty string
            if (i == *number)
                return Trimmed(std::string(reinterpret_cast<const char*>(start), length));
            pos += length + 1;
        }
        return {};
    }

private:
    static std::string Trimmed(std::string text) {
        const auto first = text.find_first_not_of(' ');
        const auto last = text.find_last_not_of(' ');
        return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
    }

    const uint8_t* data_;
    std::size_t formatted_;
    const uint8_t* strings_;
    std::size_t stringsLength_;
};

std::optional<uint32_t> Known(std::optional<uint32_t> value, uint32_t unknown) {
    if (!value || *value == 0 || *value == unknown)
        return std::nullopt;
    return value;
}

std::optional<uint64_t> Size(const Structure& s) {
    const auto size = s.Word(0x0C);
    if (!size || *size == 0xFFFF)
        return std::nullopt;
    if (*size == 0x7FFF) {
        const auto extended = s.Dword(0x1C);
        if (!extended || (*extended & 0x7FFFFFFFu) == 0)
            return std::nullopt;
        return static_cast<uint64_t>(*extended & 0x7FFFFFFFu) << 20;
    }
    // Bit 15 set: kilobytes, otherwise megabytes.
    return (*size & 0x8000) ? static_cast<uint64_t>(*size & 0x7FFF) << 10
                            : static_cast<uint64_t>(*size) << 20;
}

std::optional<uint32_t> Speed(const Structure& s, std::size_t offset, std::size_t extended) {
    const auto speed = s.Word(offset);
    if (speed && *speed == 0xFFFF)
        return Known(s.Dword(extended), 0);
    return Known(speed, 0xFFFF);
}

MemoryDevice ReadDevice(const Structure& s) {
    MemoryDevice device;
    device.TotalWidth = Known(s.Word(0x08), 0xFFFF);
    device.DataWidth = Known(s.Word(0x0A), 0xFFFF);
    device.SizeBytes = Size(s);
    if (const auto form = s.Byte(0x0E); form && *form < kFormFactors.size())
        device.FormFactor = kFormFactors[*form];
    device.DeviceLocator = s.String(0x10);
    device.BankLocator = s.String(0x11);
    if (const auto type = s.Byte(0x12); type && *type < kMemoryTypes.size())
        device.MemoryType = kMemoryTypes[*type];
    device.Speed = Speed(s, 0x15, 0x54);
    device.Manufacturer = s.String(0x17);
    device.SerialNumber = s.String(0x18);
    device.PartNumber = s.String(0x1A);
    device.ConfiguredSpeed = Speed(s, 0x20, 0x58);
    device.ConfiguredVoltage = Known(s.Word(0x26), 0);
    return device;
}

} // namespace

std::vector<MemoryDevice> ParseMemoryDevices(const uint8_t* table, std::size_t length) {
    std::vector<MemoryDevice> devices;
    std::size_t pos = 0;
    for (int count = 0; count < kMaxSmbiosStructures && pos + 4 <= length; ++count) {
        const uint8_t type = table[pos];
        const std::size_t formatted = table[pos + 1];
        if (formatted < 4 || pos + formatted > length)
            break;
        // The string set follows the formatted area and ends with two NULs.
        std::size_t end = pos + formatted;
        while (end + 1 < length && !(table[end] == 0 && table[end + 1] == 0))
            ++end;
        if (end + 1 >= length)
            break;
        if (type == kTypeMemoryDevice) {
            const Structure s(table + pos, formatted, table + pos + formatted,
                              end + 1 - (pos + formatted));
            // Size 0 is an empty slot.
            if (const auto size = s.Word(0x0C); size && *size != 0)
                devices.push_back(ReadDevice(s));
        }
        if (type == kTypeEndOfTable)
            break;
        pos = end + 2;
    }
    return devices;
}

} // namespace sentinax
