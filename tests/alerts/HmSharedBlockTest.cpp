#include "alerts/HmSharedBlock.h"

#include <gtest/gtest.h>

using namespace sentinax;

namespace {

// Every raw slot holds a distinct value so that a field read from the wrong
// slot shows up as a wrong byte.
RawValues DistinctRaw() {
    RawValues raw{};
    for (int i = 0; i < kRawValueCount; ++i)
        raw[i] = 1000 * (i + 1) + i;
    return raw;
}

} // namespace

TEST(HmSharedBlock, EveryOffsetFromTheBoardsSlotsLittleEndian) {
    RawValues raw = DistinctRaw();
    raw[0] = 0x12345678;  // Vcore: byte order visible
    raw[7] = 0x1234;      // system temperature: only the low byte
    raw[5] = -2;          // 3.3 V slot on this board: negative value
    raw[6] = 12190;       // +12 V slot
    raw[10] = 2410;       // CPU fan
    raw[9] = 0x01020304;  // system fan
    raw[11] = 0x7FFFFFFF; // power fan
    ChipParams params{0, 41, 45, 0, 0, 0, 0, 0};
    BoardProfile profile;
    profile.CpuTempSlot = 2;
    profile.V33Slot = 5;
    profile.V12Slot = 6;
    profile.CpuFanSlot = 10;
    profile.SysFanSlot = 9;
    profile.PowerFanSlot = 11;

    const HmSharedBlock expected{
        45,   41,   0x34, 0,    // temperatures, reserved
        0x78, 0x56, 0x34, 0x12, // Vcore
        0xFE, 0xFF, 0xFF, 0xFF, // 3.3 V = -2
        0xA3, 0x0F, 0x00, 0x00, // +5 V = raw[3] = 4003
        0x9E, 0x2F, 0x00, 0x00, // +12 V = 12190
        0x6A, 0x09, 0x00, 0x00, // CPU fan = 2410
        0x04, 0x03, 0x02, 0x01, // system fan
        0xFF, 0xFF, 0xFF, 0x7F, // power fan
    };
    EXPECT_EQ(PackSharedBlock(raw, params, profile), expected);
}

TEST(HmSharedBlock, DefaultProfileSlots) {
    const RawValues raw = DistinctRaw();
    const ChipParams params{50, 42, 0, 0, 0, 0, 0, 0};
    const HmSharedFields f = UnpackSharedBlock(PackSharedBlock(raw, params, BoardProfile{}));
    EXPECT_EQ(f.CpuTemp, 50);
    EXPECT_EQ(f.SecondTemp, 42);
    EXPECT_EQ(f.SystemTemp, raw[7] & 0xFF);
    EXPECT_EQ(f.Vcore, raw[0]);
    EXPECT_EQ(f.V33, raw[2]);
    EXPECT_EQ(f.V5, raw[3]);
    EXPECT_EQ(f.V12, raw[4]);
    EXPECT_EQ(f.CpuFan, raw[8]);
    EXPECT_EQ(f.SysFan, raw[9]);
    EXPECT_EQ(f.PowerFan, raw[10]);
}

TEST(HmSharedBlock, ReservedByteStaysZeroAndSystemTemperatureIsTheLowByte) {
    RawValues raw{};
    raw.fill(-1);
    ChipParams params{};
    params.fill(0xFF);
    const HmSharedBlock block = PackSharedBlock(raw, params, BoardProfile{});
    EXPECT_EQ(block[HmSharedOffset::Reserved], 0);
    EXPECT_EQ(block[HmSharedOffset::SystemTemp], 0xFF);
    for (size_t i = HmSharedOffset::Vcore; i < kSharedBlockBytes; ++i)
        EXPECT_EQ(block[i], 0xFF) << "offset " << i;

    raw[7] = 0x1FE; // 510: no saturation, just the low byte
    EXPECT_EQ(PackSharedBlock(raw, params, BoardProfile{})[HmSharedOffset::SystemTemp], 0xFE);
}

// A profile slot out of range (a broken board table row) must not read past
// the arrays; the field is published as 0.
TEST(HmSharedBlock, SlotOutsideTheArraysGivesZero) {
    RawValues raw = DistinctRaw();
    ChipParams params{9, 8, 7, 6, 5, 4, 3, 2};
    BoardProfile profile;
    profile.CpuTempSlot = kChipParamCount;
    profile.V33Slot = -1;
    profile.V12Slot = kRawValueCount;
    profile.CpuFanSlot = 1000;
    profile.SysFanSlot = -30;
    profile.PowerFanSlot = kRawValueCount + 1;
    const HmSharedFields f = UnpackSharedBlock(PackSharedBlock(raw, params, profile));
    HmSharedFields expected;
    expected.SecondTemp = 8;
    expected.SystemTemp = static_cast<uint8_t>(raw[7] & 0xFF);
    expected.Vcore = raw[0];
    expected.V5 = raw[3];
    EXPECT_EQ(f, expected);
}
