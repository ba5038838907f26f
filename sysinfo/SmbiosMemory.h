// Memory devices (SMBIOS structure type 17) from a raw DMI structure table, as
// the kernel exposes it in /sys/firmware/dmi/tables/DMI (readable by root
// only). Every read is bounds-checked: a table cut short or a structure with
// a bad length ends the walk with what was read so far.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sentinax {

struct MemoryDevice {
    std::string DeviceLocator; // "DIMM_A1"
    std::string BankLocator;   // "BANK 0"
    std::string Manufacturer;
    std::string SerialNumber;
    std::string PartNumber;
    std::optional<uint64_t> SizeBytes;         // empty: unknown
    std::optional<uint32_t> Speed;             // MT/s; empty: unknown
    std::optional<uint32_t> ConfiguredSpeed;   // MT/s
    std::optional<uint32_t> ConfiguredVoltage; // millivolts
    std::optional<uint32_t> DataWidth;         // bits
    std::optional<uint32_t> TotalWidth;        // bits
    std::string MemoryType;                    // "DDR4"; empty: unknown
    std::string FormFactor;                    // "DIMM"; empty: unknown
};

// At most this many structures are visited.
inline constexpr int kMaxSmbiosStructures = 4096;

// The populated memory devices (empty slots, size 0, are left out), in table order.
std::vector<MemoryDevice> ParseMemoryDevices(const uint8_t* table, std::size_t length);

} // namespace sentinax
