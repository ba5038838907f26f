#include "hardware/HardwareLibrary.h"

#include <gtest/gtest.h>

namespace sentinax {
namespace {

TEST(HardwareLibraryTest, MissingLibraryLeavesTheTableUntouched) {
    HardwareLibrary lib;
    EXPECT_FALSE(BindHardwareLibrary(lib, "libhmio-not-there.so"));
    EXPECT_EQ(lib.Module, nullptr);
    EXPECT_EQ(lib.GetVid, nullptr);
}

TEST(HardwareLibraryTest, MissingExportsAnswerZeroInsteadOfCrashing) {
    HardwareLibrary lib;
    ASSERT_TRUE(BindHardwareLibrary(lib, SX_PARTIAL_HMIO_PATH));
    EXPECT_NE(lib.Module, nullptr);
    // The two exports the library has are its own...
    EXPECT_EQ(lib.GetVid(), 0x8086u);
    EXPECT_EQ(lib.DetectLM78(), 7);
    // ...the twelve it lacks do nothing and answer 0.
    uint8_t params[8] = {0xC9, 0xC9, 0xC9, 0xC9, 0xC9, 0xC9, 0xC9, 0xC9};
    EXPECT_EQ(lib.DetectLM75(params, 0), 0);
    EXPECT_EQ(params[0], 0xC9);
    int32_t raw[30] = {};
    raw[7] = 114;
    lib.ValueRAM(raw);
    EXPECT_EQ(raw[7], 114);
    EXPECT_EQ(lib.LoadNTHMIO(), 0u);
    uint8_t entry[20] = {};
    EXPECT_EQ(lib.GetDMILength(entry), 0u);
    EXPECT_EQ(lib.ReadPort(0x66), 0u);
    EXPECT_EQ(lib.ChassisIntrusion(), 0);
    lib.UnloadNTHMIO();
    lib.ChassisClear();
    lib.WritePort(0x62, 1);
    lib.EnableSMSCHWMonitor();
    lib.ApEnableATIISA();
    // The optional entry points: an empty status, no report, no notices.
    const HmioStatus status = ReadHmioStatus(lib);
    EXPECT_EQ(status.Size, sizeof(HmioStatus));
    EXPECT_EQ(status.Generation | status.UncheckedSlots | status.LostSlots, 0u);
    EXPECT_EQ(status.CpuTempCrit, 0);
    EXPECT_EQ(ReadSensorReport(lib), "");
    EXPECT_EQ(NextHmioNotice(lib), "");
}

} // namespace
} // namespace sentinax
