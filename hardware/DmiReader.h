// The board identity read from the DMI (SMBIOS) structure table.
#pragma once

#include "HardwareLibrary.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace sentinax {

struct BoardIdentity {
    // The 20-byte entry point as the library returned it; zero when no DMI data.
    std::array<uint8_t, 20> EntryPoint{};
    // Base-board Product string; empty when no DMI data or no base-board
    // structure was found. This is what every board code is matched against.
    std::string BoardProduct;
    // Base-board Version string; empty when absent.
    std::string BoardVersion;
};

// The walk visits at most this many structures.
inline constexpr int kMaxDmiStructures = 224;
// A structure table larger than this is taken as no DMI data: real tables are a
// few kilobytes, and a corrupt length must not make us allocate gigabytes.
inline constexpr uint32_t kMaxDmiTableLength = 16u << 20;

// Asks the library for the table and walks it. With isNtFamily false (no
// kernel table to ask for) nothing is read and both strings stay empty.
BoardIdentity ReadBoardIdentity(const HardwareLibrary& lib, bool isNtFamily);

// Walks the structures of a table of `length` bytes, at most kMaxDmiStructures
// of them, copying the Product and Version strings of base-board (type 2)
// structures into `id`; stops at the first base board that has a version
// string. Never reads past `length`: a table cut short keeps the strings
// copied so far (a string cut by the end of the table is not copied).
void WalkStructureTable(const uint8_t* table, size_t length, BoardIdentity& id);

// The one matching rule: the code occurs in the text, case-sensitive, anywhere.
bool BoardMatches(const std::string& boardProduct, const std::string& code);

} // namespace sentinax
