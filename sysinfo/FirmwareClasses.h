// What the firmware tells about the machine: the BIOS (Sx_BIOS) and the base
// board (Sx_BaseBoard) from /sys/class/dmi/id, the memory modules
// (Sx_PhysicalMemory) from the DMI table. Serial numbers and the table are
// readable by root only; for other users they are simply absent.
#pragma once

#include "DeviceFacts.h"

#include <memory>

namespace sentinax {

// A DMI date ("03/25/2024") as a CIM datetime ("20240325000000.000000+000").
std::optional<std::string> DmiDateToCim(std::string_view date);
// "Desktop", "Notebook", ... for the SMBIOS chassis type number.
std::string ChassisTypeName(uint64_t type);

std::unique_ptr<InventoryClass> MakeBiosClass(InventoryContext context);
std::unique_ptr<InventoryClass> MakeBaseBoardClass(InventoryContext context);
std::unique_ptr<InventoryClass> MakePhysicalMemoryClass(InventoryContext context);

} // namespace sentinax
