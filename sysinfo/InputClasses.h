// Keyboards (Sx_Keyboard) and pointing devices (Sx_PointingDevice): the
// kernel's inputN devices, classified as udev does.
#pragma once

#include "DeviceFacts.h"

#include <memory>

namespace sentinax {

// "USB", "PS/2", "Bluetooth", ... for the kernel's bus type number.
std::string InputBusName(uint64_t busType);

std::unique_ptr<InventoryClass> MakeKeyboardClass(InventoryContext context);
std::unique_ptr<InventoryClass> MakePointingDeviceClass(InventoryContext context);

} // namespace sentinax
