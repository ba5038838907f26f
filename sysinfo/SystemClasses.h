// Processors (Sx_Processor, one per physical package), the operating system
// (Sx_OperatingSystem) and the user's desktop (Sx_Desktop).
#pragma once

#include "DeviceFacts.h"

#include <memory>

namespace sentinax {

// A cache size as sysfs writes it ("32K", "1024K", "32M") in kilobytes.
std::optional<uint64_t> CacheSizeKb(std::string_view text);

std::unique_ptr<InventoryClass> MakeProcessorClass(InventoryContext context);
std::unique_ptr<InventoryClass> MakeOperatingSystemClass(InventoryContext context);
std::unique_ptr<InventoryClass> MakeDesktopClass(InventoryContext context);

} // namespace sentinax
