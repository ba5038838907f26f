// The 32-byte block the monitor publishes at offset 0 of the shared memory
// /HMShared for other programs. Its layout is an external interface: readers
// written against it rely on every byte, so it never changes.
//
//   offset  width  content
//        0  u8     CPU temperature byte as read, °C (before the board's offset)
//        1  u8     second temperature byte, °C
//        2  u8     system temperature, °C (low byte of raw slot 7)
//        3  u8     always 0
//        4  i32    Vcore, mV
//        8  i32    3.3 V, mV
//       12  i32    +5 V, mV
//       16  i32    +12 V, mV
//       20  i32    CPU fan, rpm
//       24  i32    system fan, rpm
//       28  i32    power-supply fan, rpm (written even on boards without one)
//
// Multi-byte fields are little-endian; there is no header and no version.
#pragma once

#include "hardware/BoardProfile.h"
#include "hardware/SensorTypes.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace sentinax {

constexpr size_t kSharedBlockBytes = 32;
// Size of the whole shared object; everything after the block stays zero.
constexpr size_t kSharedMappingBytes = 65536;

using HmSharedBlock = std::array<uint8_t, kSharedBlockBytes>;

// Field offsets, for readers and tests.
namespace HmSharedOffset {
constexpr size_t CpuTemp = 0;
constexpr size_t SecondTemp = 1;
constexpr size_t SystemTemp = 2;
constexpr size_t Reserved = 3;
constexpr size_t Vcore = 4;
constexpr size_t V33 = 8;
constexpr size_t V5 = 12;
constexpr size_t V12 = 16;
constexpr size_t CpuFan = 20;
constexpr size_t SysFan = 24;
constexpr size_t PowerFan = 28;
} // namespace HmSharedOffset

// Builds the block from the values as they stand: `params` after the tick's
// rearrangements, `raw` converted or not, whatever the last read left. A slot
// of the profile outside its array contributes 0 instead of reading past it.
HmSharedBlock PackSharedBlock(const RawValues& raw, const ChipParams& params,
                              const BoardProfile& profile);

// The fields of a block, decoded; for readers such as sentinax-shm.
struct HmSharedFields {
    uint8_t CpuTemp = 0;
    uint8_t SecondTemp = 0;
    uint8_t SystemTemp = 0;
    int32_t Vcore = 0;
    int32_t V33 = 0;
    int32_t V5 = 0;
    int32_t V12 = 0;
    int32_t CpuFan = 0;
    int32_t SysFan = 0;
    int32_t PowerFan = 0;
    bool operator==(const HmSharedFields&) const = default;
};

HmSharedFields UnpackSharedBlock(const HmSharedBlock& block);

} // namespace sentinax
