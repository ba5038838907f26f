// The block-device classes: disks (Sx_DiskDrive), optical drives
// (Sx_CDROMDrive) and floppy drives (Sx_FloppyDrive). Whole devices only;
// partitions and purely virtual devices (loop, zram, device-mapper, md, which
// have no hardware device behind them) are not listed.
#pragma once

#include "DeviceFacts.h"

#include <memory>

namespace sentinax {

enum class BlockKind { None, Disk, Optical, Floppy };
// Which class a block device belongs to.
BlockKind ClassifyBlockDevice(const DeviceInfo& device);

std::unique_ptr<InventoryClass> MakeDiskDriveClass(InventoryContext context);
std::unique_ptr<InventoryClass> MakeCdromDriveClass(InventoryContext context);
std::unique_ptr<InventoryClass> MakeFloppyDriveClass(InventoryContext context);

} // namespace sentinax
