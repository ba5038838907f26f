// SMBIOS structure tables and the 20-byte "_DMI_" entry-point record the
// monitor expects: "_DMI_", checksum, table length (16-bit), table address
// (32-bit, offset 8), structure count (16-bit), BCD revision, zero padding.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hmio {

using DmiEntryPoint = std::array<uint8_t, 20>;

struct BoardIdentity {
    std::string Manufacturer; // empty: string number 0 (absent)
    std::string Product;
    std::string Version;
};

// A plausible table: BIOS (type 0), system (type 1), base board (type 2),
// chassis (type 3), processor (type 4) and end-of-table (type 127).
std::vector<uint8_t> BuildBoardTable(const BoardIdentity& board);

// A "_DMI_" record for a table of that length; address 0 means "not in
// physical memory" (synthesized tables, SMBIOS 3 systems).
DmiEntryPoint MakeEntryPoint(size_t tableLength, uint32_t address, uint16_t structureCount,
                             uint8_t bcdRevision);

// The record for the kernel's smbios_entry_point file: from an SMBIOS 2.x
// "_SM_" point the "_DMI_" anchor at its offset 16 is copied (15 bytes, the rest
// zero); an SMBIOS 3 "_SM3_" point (no such anchor) gives a synthesized record
// with address 0 and the 3.x version as BCD; a bare "_DMI_" is copied; anything
// else gives a synthesized record with revision 0.
DmiEntryPoint EntryPointFromFile(std::string_view fileBytes, size_t tableLength);

// Counts the structures of a table (stops at type 127 or at a truncated one).
uint16_t CountStructures(const std::vector<uint8_t>& table);

} // namespace hmio
