#include "LimitItem.h"

namespace sentinax {

const std::array<LimitItemInfo, kLimitCount> kLimitItems{{
    {"CPU_TEMP_UPPER_LIMIT", "CPU_TEMP_UPPER_LIMIT,Normal.jpg,Sel.jpg,215,40,55,18,H,"},
    {"CPU_TEMP_LOWER_LIMIT", "CPU_TEMP_LOWER_LIMIT,Normal.jpg,Sel.jpg,160,40,55,18,H,"},
    {"SYS_TEMP_UPPER_LIMIT", "SYS_TEMP_UPPER_LIMIT,Normal.jpg,Sel.jpg,360,40,55,18,H,"},
    {"SYS_TEMP_LOWER_LIMIT", "SYS_TEMP_LOWER_LIMIT,Normal.jpg,Sel.jpg,305,40,55,18,H,"},
    {"CPU_FAN_UPPER_LIMIT", "CPU_FAN_UPPER_LIMIT,Normal.jpg,Sel.jpg,255,295,55,18,H,"},
    {"CPU_FAN_LOWER_LIMIT", "CPU_FAN_LOWER_LIMIT,Normal.jpg,Sel.jpg,200,295,55,18,H,"},
    {"SYS_FAN_UPPER_LIMIT", "SYS_FAN_UPPER_LIMIT,Normal.jpg,Sel.jpg,370,295,55,18,H,"},
    {"SYS_FAN_LOWER_LIMIT", "SYS_FAN_LOWER_LIMIT,Normal.jpg,Sel.jpg,315,295,55,18,H,"},
    {"PS_FAN_UPPER_LIMIT", "PS_FAN_UPPER_LIMIT,Normal.jpg,Sel.jpg,485,295,55,18,H,"},
    {"PS_FAN_LOWER_LIMIT", "PS_FAN_LOWER_LIMIT,Normal.jpg,Sel.jpg,435,295,55,18,H,"},
    {"VCORE_UPPER_LIMIT", "VCORE_UPPER_LIMIT,Normal.jpg,Sel.jpg,140,170,55,18,H,"},
    {"VCORE_LOWER_LIMIT", "VCORE_LOWER_LIMIT,Normal.jpg,Sel.jpg,85,170,55,18,H,"},
    {"V33_UPPER_LIMIT", "V33_UPPER_LIMIT,Normal.jpg,Sel.jpg,255,170,55,18,H,"},
    {"V33_LOWER_LIMIT", "V33_LOWER_LIMIT,Normal.jpg,Sel.jpg,200,170,55,18,H,"},
    {"V5_UPPER_LIMIT", "V5_UPPER_LIMIT,Normal.jpg,Sel.jpg,370,170,55,18,H,"},
    {"V5_LOWER_LIMIT", "V5_LOWER_LIMIT,Normal.jpg,Sel.jpg,315,170,55,18,H,"},
    {"V12_UPPER_LIMIT", "V12_UPPER_LIMIT,Normal.jpg,Sel.jpg,485,170,55,18,H,"},
    {"V12_LOWER_LIMIT", "V12_LOWER_LIMIT,Normal.jpg,Sel.jpg,430,170,55,18,H,"},
}};

int FindLimitItem(std::string_view name) {
    for (int i = 0; i < kLimitCount; ++i) {
        if (kLimitItems[static_cast<std::size_t>(i)].Name == name)
            return i;
    }
    return -1;
}

} // namespace sentinax
