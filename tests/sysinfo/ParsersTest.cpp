// The readers of outside text and binary data: each must take broken input
// without reading out of bounds and give what it can.
#include "FakeSysTree.h"

#include "sysinfo/CpuInfo.h"
#include "sysinfo/FirmwareClasses.h"
#include "sysinfo/InputCapabilities.h"
#include "sysinfo/MediaClasses.h"
#include "sysinfo/SmbiosMemory.h"
#include "sysinfo/SysFiles.h"
#include "sysinfo/SysfsDeviceEnumerator.h"
#include "sysinfo/SystemClasses.h"

#include <gtest/gtest.h>

namespace sentinax {
namespace {

using testing::MemoryDeviceStructure;

std::vector<MemoryDevice> Parse(const std::string& table) {
    return ParseMemoryDevices(reinterpret_cast<const uint8_t*>(table.data()), table.size());
}

TEST(SmbiosMemory, PopulatedSlotsWithTheirSizeRules) {
    const std::string dimm = MemoryDeviceStructure(16384, 4800, 0x22, 0x0D,
                                                   {"SODIMM 1", "BANK 1", "Micron", "123", "MTC8"});
    // 0x8000 | 512: kilobytes. 0x7FFF: the extended size field (zero here: unknown).
    const std::string kib = MemoryDeviceStructure(0x8000 | 512, 0xFFFF, 0x99, 0x42, {"A"});
    const std::string table = MemoryDeviceStructure(0, 0, 2, 2, {}) + dimm + kib +
                              MemoryDeviceStructure(0x7FFF, 0, 0x1A, 9, {"B"});
    const auto devices = Parse(table);
    ASSERT_EQ(devices.size(), 3u);
    EXPECT_EQ(devices[0].SizeBytes, 16384ull << 20);
    EXPECT_EQ(devices[0].MemoryType, "DDR5");
    EXPECT_EQ(devices[0].FormFactor, "SODIMM");
    EXPECT_EQ(devices[0].DeviceLocator, "SODIMM 1");
    EXPECT_EQ(devices[0].BankLocator, "BANK 1");
    EXPECT_EQ(devices[0].Manufacturer, "Micron");
    EXPECT_EQ(devices[0].Speed, 4800u);
    EXPECT_EQ(devices[1].SizeBytes, 512ull << 10);
    EXPECT_EQ(devices[1].Speed, std::nullopt) << "0xFFFF points to the extended field, absent here";
    EXPECT_EQ(devices[1].MemoryType, "") << "unknown type code";
    EXPECT_EQ(devices[1].Manufacturer, "") << "string number past the set";
    EXPECT_EQ(devices[2].SizeBytes, std::nullopt);
}

TEST(SmbiosMemory, BrokenTablesEndTheWalkSafely) {
    const std::string good = MemoryDeviceStructure(8192, 3200, 0x1A, 9, {"DIMM_A1"});
    for (std::size_t cut = 0; cut < good.size(); ++cut) {
        // Every prefix: at most the one device, never a read past the end
        // (the sanitizer build checks the latter).
        EXPECT_TRUE(Parse(good.substr(0, cut)).empty()) << cut;
    }
    std::string badLength = good;
    badLength[1] = 2; // shorter than a header
    EXPECT_TRUE(Parse(badLength + good).empty());
    std::string huge = good;
    huge[1] = static_cast<char>(0xFF); // formatted area past the table
    EXPECT_TRUE(Parse(huge).empty());
    // A short (SMBIOS 2.0) structure: only the fields it has.
    std::string old = good.substr(0, 0x15) + std::string("DIMM0\0\0", 7);
    old[1] = 0x15;
    const auto devices = Parse(old);
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(devices[0].DeviceLocator, "DIMM0");
    EXPECT_EQ(devices[0].Speed, std::nullopt);
}

TEST(CpuInfo, PackagesAndArchitectures) {
    const auto two = ParseCpuInfo("processor : 0\nphysical id : 1\nmodel name : B\n\n"
                                  "processor : 1\nphysical id : 0\nmodel name : A\ncore id : 0\n\n"
                                  "processor : 2\nphysical id : 0\ncore id : 1\n\n"
                                  "processor : 3\nphysical id : 0\ncore id : 1\n");
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0].Name(), "A");
    EXPECT_EQ(two[0].LogicalIds, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(two[0].CoreIdCount, 2);
    EXPECT_EQ(two[1].Name(), "B");

    // ARM: no physical id, the board name in a block of its own.
    const auto arm = ParseCpuInfo("processor\t: 0\nBogoMIPS\t: 108.00\nCPU part\t: 0xd08\n\n"
                                  "processor\t: 1\nBogoMIPS\t: 108.00\n\n"
                                  "Hardware\t: BCM2835\nModel\t: Raspberry Pi 4\n");
    ASSERT_EQ(arm.size(), 1u);
    EXPECT_EQ(arm[0].LogicalIds.size(), 2u);
    EXPECT_EQ(arm[0].Name(), "BCM2835");

    EXPECT_TRUE(ParseCpuInfo("").empty());
    EXPECT_TRUE(ParseCpuInfo("garbage without colons\n\n:::\nprocessor : x\n").empty());
}

TEST(InputCapabilities, BitmapWordsAndClassification) {
    const InputBitmap bitmap("1 0 8000000000000001");
    EXPECT_TRUE(bitmap.Test(0));
    EXPECT_TRUE(bitmap.Test(63));
    EXPECT_FALSE(bitmap.Test(64));
    EXPECT_TRUE(bitmap.Test(128));
    EXPECT_FALSE(bitmap.Test(100000));

    // A power button has keys but no letters: not a keyboard.
    EXPECT_FALSE(ClassifyInput({}, {"3", "10000000000000 0", "", "", ""}).Keyboard);
    // A virtual machine's tablet: absolute axes and a left button.
    const InputKind tablet = ClassifyInput({}, {"b", "70000 0 0 0 0", "", "3", ""});
    EXPECT_EQ(tablet.Pointing, "Mouse");
    EXPECT_EQ(tablet.Buttons, 3);
    // A touchscreen reports BTN_TOUCH and the direct property.
    EXPECT_EQ(ClassifyInput({}, {"b", "400 0 0 0 0 0", "", "3", "2"}).Pointing, "Touch Screen");
    // udev's word wins over the bitmaps, also when it says "nothing".
    EXPECT_EQ(ClassifyInput({{"ID_INPUT", "1"}}, {"b", "70000 0 0 0 0", "", "3", ""}).Pointing, "");
}

TEST(SmallParsers, TextsFromTheKernel) {
    EXPECT_EQ(
        ParseSoundCards(" 0 [PCH            ]: HDA-Intel - HDA Intel PCH\n"
                        "                      HDA Intel PCH at 0xf7f10000 irq 32\n"
                        "29 [ThinkPadEC     ]: ThinkPad EC - ThinkPad Console Audio Control\n"
                        "junk ]: x\n"),
        (std::map<int, std::string>{{0, "HDA Intel PCH"}, {29, "ThinkPad Console Audio Control"}}));
    EXPECT_EQ(ParseModeLine("1920x1080i\n"), std::make_pair(uint64_t{1920}, uint64_t{1080}));
    EXPECT_FALSE(ParseModeLine(""));
    EXPECT_FALSE(ParseModeLine("x\n"));
    EXPECT_EQ(CacheSizeKb("32K"), 32u);
    EXPECT_EQ(CacheSizeKb("12M"), 12288u);
    EXPECT_FALSE(CacheSizeKb("lots"));
    EXPECT_EQ(DmiDateToCim("03/25/2024"), "20240325000000.000000+000");
    EXPECT_EQ(DmiDateToCim("12/01/99"), "19991201000000.000000+000");
    EXPECT_FALSE(DmiDateToCim("2024-03-25"));
    EXPECT_FALSE(DmiDateToCim("13/01/2024"));
    EXPECT_EQ(ChassisTypeName(0x83), "Desktop") << "bit 7 is the lock";
    EXPECT_EQ(ChassisTypeName(99), "Type 99");

    const auto release = ParseKeyValueLines("# comment\nNAME=\"Debian \\\"x\\\"\"\nID=debian\n"
                                            "VERSION_ID='12'\n  BROKEN\n=novalue\n");
    EXPECT_EQ(release.at("NAME"), "Debian \"x\"");
    EXPECT_EQ(release.at("ID"), "debian");
    EXPECT_EQ(release.at("VERSION_ID"), "12");
    EXPECT_EQ(release.size(), 3u);

    EXPECT_TRUE(NaturalLess("eth2", "eth10"));
    EXPECT_TRUE(NaturalLess("sda", "sdaa"));
    EXPECT_TRUE(NaturalLess("card1", "card01x"));
    EXPECT_FALSE(NaturalLess("card10", "card9"));

    EXPECT_EQ(SysfsDeviceEnumerator::DatabaseId("block", "sda", {{"MAJOR", "8"}, {"MINOR", "0"}}),
              "b8:0");
    EXPECT_EQ(SysfsDeviceEnumerator::DatabaseId("net", "eth0", {{"IFINDEX", "2"}}), "n2");
    EXPECT_EQ(SysfsDeviceEnumerator::DatabaseId("input", "input3", {}), "+input:input3");
    EXPECT_EQ(SysfsDeviceEnumerator::ParseDatabase("S:x\nE:A=1=2\nE:\nI:3\nE:B=\n"),
              (PropertyMap{{"A", "1=2"}, {"B", ""}}));
}

TEST(SysFiles, OnlyRegularFilesAreRead) {
    testing::TempFolder folder;
    folder.Write("attr", "  value \n");
    folder.Write("blank", " \n");
    folder.Folder("dir");
    EXPECT_EQ(ReadAttribute(folder.Path("attr")), "value");
    EXPECT_FALSE(ReadAttribute(folder.Path("blank")));
    EXPECT_FALSE(ReadAttribute(folder.Path("dir")));
    EXPECT_FALSE(ReadAttribute(folder.Path("missing")));
    EXPECT_FALSE(ReadFileText("/dev/zero")) << "a device is not read, let alone forever";
    folder.Write("big", std::string(100, 'x'));
    EXPECT_EQ(ReadFileText(folder.Path("big"), 10)->size(), 10u);
}

} // namespace
} // namespace sentinax
