// Small readers shared by the inventory classes: attributes of a sysfs folder,
// the driver bound to a device, names from the device database, numbers.
#pragma once

#include "DeviceEnumerator.h"
#include "InventoryClass.h"
#include "InventoryHost.h"

#include <cstdint>
#include <optional>
#include <string>

namespace sentinax {

// What every class reader gets.
struct InventoryContext {
    const InventoryHost& Host;
    DeviceEnumerator& Devices;
};

std::optional<std::string> Attr(const std::string& folder, const char* name);
// The kernel driver of a device: the driver link of the folder's device, or of
// the folder itself.
std::optional<std::string> DriverName(const std::string& sysPath);
// The modalias of a device ("pci:v00008086d..."), or of its parent device.
std::optional<std::string> Modalias(const std::string& sysPath);

struct HardwareNames {
    std::optional<std::string> Vendor;
    std::optional<std::string> Model;
};
// Vendor and model names from the device database: the device's own values,
// then its parent's, then a lookup of the parent's modalias in the hardware
// database.
HardwareNames NamesFor(DeviceEnumerator& devices, const DeviceInfo& device);

std::optional<uint64_t> ParseUnsigned(std::string_view text);
std::optional<int64_t> ParseSigned(std::string_view text);
// Hexadecimal with or without "0x".
std::optional<uint64_t> ParseHex(std::string_view text);

// Sets a value only when there is one.
void PutString(ValueMap& values, const char* name, const std::optional<std::string>& text);
void PutUint32(ValueMap& values, const char* name, std::optional<uint64_t> number);
void PutUint64(ValueMap& values, const char* name, std::optional<uint64_t> number);
void PutBoolean(ValueMap& values, const char* name, std::optional<bool> flag);

// An empty value counts as none.
std::optional<std::string> NonEmpty(std::string text);

} // namespace sentinax
