// The 18 limit items: index into LimitPosition, LimitChanged and Thresholds;
// the item's row in section TRACKBARINFO has key index + 1.
#pragma once

#include "AppSettings.h"

#include <array>
#include <string_view>

namespace sentinax {

enum class LimitItem : int {
    CpuTempUpper,
    CpuTempLower,
    SysTempUpper,
    SysTempLower,
    CpuFanUpper,
    CpuFanLower,
    SysFanUpper,
    SysFanLower,
    PsFanUpper,
    PsFanLower,
    VcoreUpper,
    VcoreLower,
    V33Upper,
    V33Lower,
    V5Upper,
    V5Lower,
    V12Upper,
    V12Lower,
};

struct LimitItemInfo {
    std::string_view Name; // the adjuster's control name in the skin
    // The row written back for a changed item, ending with the comma before
    // the position.
    std::string_view BuiltInRow;
};

extern const std::array<LimitItemInfo, kLimitCount> kLimitItems;

// Index of the item whose adjuster has exactly this name (case-sensitive),
// or -1 when none has.
int FindLimitItem(std::string_view name);

} // namespace sentinax
