// Value blocks exchanged with the hardware library and the readings the window shows.
#pragma once

#include <array>
#include <cstdint>

namespace sentinax {

constexpr int kRawValueCount = 30;
constexpr int kChipParamCount = 8;

// Voltages in mV, temperatures in whole °C, fans in rpm, at the board's slots.
using RawValues = std::array<int32_t, kRawValueCount>;
// The slots that are the same on every board; the others are named by the
// board profile (V33Slot, V12Slot and the fan slots).
namespace RawSlot {
constexpr int Vcore = 0;
constexpr int V5 = 3;
// Carries the chip command into the read, like ChipParams byte 0.
constexpr int SystemTemp = 7;
} // namespace RawSlot
// Temperature bytes (unsigned °C); byte 0 carries the chip command on entry.
using ChipParams = std::array<uint8_t, kChipParamCount>;

// One set of displayed values, in this order. CpuTempRaw is the byte as read,
// before the board's offset and correction.
struct SensorReadings {
    int32_t CpuTempRaw = 0;
    int32_t SystemTemp = 0;
    int32_t Vcore = 0;
    int32_t V33 = 0;
    int32_t V5 = 0;
    int32_t V12 = 0;
    int32_t CpuFan = 0;
    int32_t SysFan = 0;
    int32_t PowerFan = 0;
};

// The eight presence flags of the main window, in their order. The CPU
// temperature has none: it is always shown.
enum class PresenceItem : int {
    SystemTemp = 0,
    CpuFan,
    SysFan,
    ThirdFan,
    Vcore,
    V33,
    V5,
    V12,
};
constexpr int kPresenceCount = 8;
using PresenceFlags = std::array<uint8_t, kPresenceCount>;

// The nine shown items, in the order in which an evaluation tick treats them.
enum class ReadoutItem : int {
    Vcore = 0,
    CpuTemp,
    SysTemp,
    V33,
    V5,
    V12,
    CpuFan,
    SysFan,
    PowerFan,
};
constexpr int kReadoutCount = 9;

inline uint8_t& Presence(PresenceFlags& flags, PresenceItem item) {
    return flags[static_cast<int>(item)];
}
inline uint8_t Presence(const PresenceFlags& flags, PresenceItem item) {
    return flags[static_cast<int>(item)];
}

} // namespace sentinax
