// The fourteen categories of the inventory, in the order the tree shows them:
// the tree label and the class whose instances are listed under it. The
// classes are this program's own (documented in docs/inventory.md).
#pragma once

#include <array>
#include <string_view>

namespace sentinax {

struct WmiCategory {
    std::string_view Label;
    std::string_view ClassName;
};

inline constexpr std::array<WmiCategory, 14> kWmiCategories{{
    {"Audio", "Sx_SoundDevice"},
    {"Bios", "Sx_BIOS"},
    {"CDROM", "Sx_CDROMDrive"},
    {"CPU", "Sx_Processor"},
    {"Desktop", "Sx_Desktop"},
    {"Floppy", "Sx_FloppyDrive"},
    {"HardDisk", "Sx_DiskDrive"},
    {"Keyboard", "Sx_Keyboard"},
    {"Memory", "Sx_PhysicalMemory"},
    {"MotherBoard", "Sx_BaseBoard"},
    {"Mouse", "Sx_PointingDevice"},
    {"NetworkAdapter", "Sx_NetworkAdapter"},
    {"OS", "Sx_OperatingSystem"},
    {"Video", "Sx_VideoController"},
}};

// The namespace the dialog connects to: the local machine's root\cimv2.
inline constexpr std::string_view kWmiNamespace = "\\\\.\\root\\cimv2";

} // namespace sentinax
