// Deciding the board profile from the board table and the board identity.
#pragma once

#include "BoardProfile.h"
#include "BoardTable.h"
#include "DmiReader.h"

#include <cstdint>

namespace sentinax {

// The chipset vendor whose boards have their own fan-slot and temperature lists.
inline constexpr uint32_t kIntelVendorId = 0x8086;

// Whether one row's condition holds for this identity, given the fields the
// earlier lists have already decided.
bool RowMatches(const BoardCondition& condition, const BoardIdentity& id,
                const BoardProfile& decided);

// Every trait list in its fixed order; in each list the first matching row
// gives its values. Fan slots start at 10, 9, 8 for vendor 0x8086 and at 8, 9,
// 10 otherwise; every other field starts at its BoardProfile default. An empty
// table (or an empty product string, which no code matches) gives the defaults.
BoardProfile DecideProfile(const BoardTable& table, const BoardIdentity& id, uint32_t vendorId);

} // namespace sentinax
