#include "HmioFixture.h"

#include <array>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace hmio_test {
namespace {

constexpr int32_t kUntouched = -777;

struct Layout {
    const char* name;
    const char* nct; // hwmon folder of each chip; their order must not matter
    const char* k10;
    const char* acpitz;
};

void PrintTo(const Layout& layout, std::ostream* out) {
    *out << layout.name;
}

class SysfsBackendTest : public HmioFixture, public ::testing::WithParamInterface<Layout> {
protected:
    // A desktop board: k10temp, an NCT6798 super-I/O and an ACPI thermal zone.
    void MakeBoard(const Layout& layout) {
        const std::string nct = std::string("root/sys/class/hwmon/") + layout.nct + "/";
        Write(nct + "name", "nct6798\n");
        Write(nct + "in0_input", "1352\n");
        Write(nct + "in1_input", "1012\n"); // +12 V through 1:12
        Write(nct + "in3_input", "3312\n");
        Write(nct + "in4_input", "1006\n"); // +5 V through 1:5
        Write(nct + "temp1_input", "-1500\n");
        Write(nct + "temp2_input", "41x\n"); // junk: param1 stays as it was
        Write(nct + "fan1_input", "abc\n");  // junk: no reading, slot 9 left alone
        Write(nct + "fan2_input", "2700\n"); // fan3_input missing: slot 10 untouched
        const std::string k10 = std::string("root/sys/class/hwmon/") + layout.k10 + "/";
        Write(k10 + "name", "k10temp\n");
        Write(k10 + "temp1_input", "45999\n");
        const std::string acpi = std::string("root/sys/class/hwmon/") + layout.acpitz + "/";
        Write(acpi + "name", "acpitz\n");
        Write(acpi + "temp1_input", "27800\n");
        UseSysfsRoot();
    }
};

TEST_P(SysfsBackendTest, ChipsAreFoundByNameWhateverTheirNumbering) {
    MakeBoard(GetParam());
    ASSERT_EQ(LoadNTHMIO(), 1u);
    EXPECT_NE(DetectLM78(), 0);

    std::array<uint8_t, 8> params;
    params.fill(0xC9);
    EXPECT_EQ(DetectLM75(params.data(), 0), 1);
    EXPECT_EQ(params[0], 45); // k10temp, millidegrees truncated, ahead of acpitz
    EXPECT_EQ(params[1], 0xC9);
    EXPECT_EQ(params[2], 0xC9);

    std::array<int32_t, 30> raw;
    raw.fill(kUntouched);
    ValueRAM(raw.data());
    EXPECT_EQ(raw[0], 1352);
    EXPECT_EQ(raw[2], 3312);
    EXPECT_EQ(raw[3], 5030);
    EXPECT_EQ(raw[4], 12144);
    EXPECT_EQ(raw[7], -1); // the super-I/O's SYSTIN wins over the thermal zone
    EXPECT_EQ(raw[8], 2700);
    // An input that reads junk is no reading, never a 0 rpm that would warn.
    EXPECT_EQ(raw[9], kUntouched);
    HmioStatus status{};
    status.Size = sizeof status;
    HmioGetStatus(&status);
    EXPECT_EQ(status.LostSlots, 1u << 9);
    EXPECT_EQ(status.LostParams, 1u << 1);
    EXPECT_EQ(raw[10], kUntouched);
    EXPECT_EQ(raw[1], kUntouched);
    UnloadNTHMIO();
}

INSTANTIATE_TEST_SUITE_P(Numberings, SysfsBackendTest,
                         ::testing::Values(Layout{"InOrder", "hwmon0", "hwmon1", "hwmon2"},
                                           Layout{"Scrambled", "hwmon7", "hwmon12", "hwmon3"}),
                         [](const auto& info) { return std::string(info.param.name); });

int OpenDescriptors() {
    int count = 0;
    DIR* dir = ::opendir("/proc/self/fd");
    while (dirent* entry = ::readdir(dir))
        count += entry->d_name[0] != '.';
    ::closedir(dir);
    return count;
}

TEST_F(HmioFixture, SysfsKeepsDescriptorsOpenAndRereadsThem) {
    Write("root/sys/class/hwmon/hwmon0/name", "it8728\n");
    Write("root/sys/class/hwmon/hwmon0/in0_input", "1200\n");
    UseSysfsRoot();
    ASSERT_EQ(LoadNTHMIO(), 1u);
    std::array<int32_t, 30> raw{};
    ValueRAM(raw.data());
    EXPECT_EQ(raw[0], 1200);

    const int before = OpenDescriptors();
    Write("root/sys/class/hwmon/hwmon0/in0_input", "987\n"); // same file, new content
    for (int i = 0; i < 50; ++i)
        ValueRAM(raw.data());
    EXPECT_EQ(raw[0], 987);
    EXPECT_EQ(OpenDescriptors(), before);
    UnloadNTHMIO();
    EXPECT_LT(OpenDescriptors(), before);
}

TEST_F(HmioFixture, SysfsWithoutChipsReportsNothing) {
    Write("root/sys/class/hwmon/hwmon0/name", "unknownchip\n");
    Write("root/sys/class/hwmon/hwmon0/in0_input", "1200\n");
    UseSysfsRoot();
    EXPECT_EQ(LoadNTHMIO(), 0u);
    EXPECT_EQ(DetectLM78(), 0);
    std::array<uint8_t, 8> params;
    params.fill(0xC9);
    EXPECT_EQ(DetectLM75(params.data(), 0), 0);
    EXPECT_EQ(params[0], 0xC9);
    std::array<int32_t, 30> raw;
    raw.fill(kUntouched);
    ValueRAM(raw.data());
    EXPECT_EQ(raw[0], kUntouched);
    EXPECT_EQ(GetVid(), 0u);
}

TEST_F(HmioFixture, ChannelMapFromEnvironmentSkipsMalformedRows) {
    Write("root/sys/class/hwmon/hwmon4/name", "mychip\n");
    Write("root/sys/class/hwmon/hwmon4/in5_input", "1100\n");
    Write("root/sys/class/hwmon/hwmon4/temp3_input", "51000\n");
    const std::string map = Write("my.map", "mychip in5_input slot4 *11\n"
                                            "mychip in5_input slot99\n"
                                            "mychip temp3_input param0\n");
    ::setenv("HMIO_CHANNEL_MAP", map.c_str(), 1);
    UseSysfsRoot();
    ::testing::internal::CaptureStderr();
    std::array<int32_t, 30> raw{};
    ValueRAM(raw.data());
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find(map + ":2: "), std::string::npos) << errors;
    EXPECT_EQ(raw[4], 12100);
    std::array<uint8_t, 8> params{};
    EXPECT_EQ(DetectLM75(params.data(), 0), 1);
    EXPECT_EQ(params[0], 51);
}

TEST_F(HmioFixture, SysfsVendorIdComesFromTheHostBridge) {
    UseSysfsRoot();
    EXPECT_EQ(GetVid(), 0u);
    Write("root/sys/bus/pci/devices/0000:00:00.0/vendor", "0x8086\n");
    EXPECT_EQ(GetVid(), 0x8086u);
}

TEST_F(HmioFixture, SysfsIntrusionLatchReadsAndClears) {
    Write("root/sys/class/hwmon/hwmon2/name", "nct6779\n");
    Write("root/sys/class/hwmon/hwmon2/intrusion0_alarm", "1\n");
    UseSysfsRoot();
    EXPECT_EQ(ChassisIntrusion(), 1);
    ChassisClear();
    EXPECT_EQ(Read("root/sys/class/hwmon/hwmon2/intrusion0_alarm")[0], '0');
    EXPECT_EQ(ChassisIntrusion(), 0);
}

// The controller's ports are driven only where the channel map opts in, and
// even then not while the kernel's own ACPI EC driver owns them.
struct PortCase {
    const char* name;
    const char* optIn;    // ec-ports line of the map, "" for none
    const char* ioports;  // proc/ioports, nullptr for no file
    bool acpiDriverBound; // sys/bus/acpi/drivers/ec/PNP0C09:00 exists
    bool reached;
};

void PrintTo(const PortCase& c, std::ostream* out) {
    *out << c.name;
}

class SysfsPortTest : public HmioFixture, public ::testing::WithParamInterface<PortCase> {};

TEST_P(SysfsPortTest, PortsAreDrivenOnlyWhenAllowed) {
    const PortCase& c = GetParam();
    Write("root/dev/port", std::string(256, '\x11'));
    if (c.ioports)
        Write("root/proc/ioports", c.ioports);
    if (c.acpiDriverBound)
        Write("root/sys/bus/acpi/drivers/ec/PNP0C09:00/uevent", "");
    ::setenv("HMIO_CHANNEL_MAP",
             Write("map", std::string("coretemp temp1_input param0\n") + c.optIn + "\n").c_str(),
             1);
    UseSysfsRoot();
    WritePort(0x66, 0x13);
    WritePort(0x62, 0x14);
    WritePort(0x80, 0x55);
    WritePort(0x62 + 0x100, 0x55);
    const std::string port = Read("root/dev/port");
    ASSERT_EQ(port.size(), 256u);
    EXPECT_EQ(port[0x80], '\x11'); // never a port other than the controller's
    if (c.reached) {
        EXPECT_EQ(port[0x66], '\x13');
        EXPECT_EQ(port[0x62], '\x14');
        EXPECT_EQ(ReadPort(0x62), 0x14u);
    } else {
        EXPECT_EQ(port[0x66], '\x11');
        EXPECT_EQ(port[0x62], '\x11');
        EXPECT_EQ(ReadPort(0x66), 0u); // both buffers read empty: no answer
    }
    EXPECT_EQ(ReadPort(0x70), 0u);
}

constexpr char kKernelEc[] = "0060-0060 : keyboard\n0062-0062 : EC data\n0066-0066 : EC cmd\n";
constexpr char kNoKernelEc[] = "0060-0060 : keyboard\n0070-0077 : rtc0\n";

INSTANTIATE_TEST_SUITE_P(
    Access, SysfsPortTest,
    ::testing::Values(PortCase{"NoOptIn", "", kNoKernelEc, false, false},
                      PortCase{"OptedOut", "ec-ports none", kNoKernelEc, false, false},
                      PortCase{"RawWithoutKernelDriver", "ec-ports raw", kNoKernelEc, false, true},
                      PortCase{"RawNoIoportsFile", "ec-ports raw", nullptr, false, true},
                      PortCase{"RawWhileKernelClaimsPorts", "ec-ports raw", kKernelEc, false,
                               false},
                      PortCase{"RawWhileAcpiDriverBound", "ec-ports raw", kNoKernelEc, true, false},
                      PortCase{"ForcedDespiteKernel", "ec-ports raw-force", kKernelEc, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

// Fans are named by role in the map; the library places them where a stock
// board's profile expects them for the host's vendor.
TEST_F(HmioFixture, FansArePlacedByTheHostVendor) {
    const std::string nct = "root/sys/class/hwmon/hwmon1/";
    Write(nct + "name", "nct6798\n");
    Write(nct + "fan1_input", "900\n");  // system fan
    Write(nct + "fan2_input", "2400\n"); // CPU fan
    Write(nct + "fan3_input", "500\n");  // auxiliary fan
    struct Host {
        const char* vendor;
        int cpu, sys, third;
    };
    for (const Host& host : {Host{"0x8086\n", 10, 9, 8}, Host{"0x1022\n", 8, 9, 10}}) {
        SCOPED_TRACE(host.vendor);
        Write("root/sys/bus/pci/devices/0000:00:00.0/vendor", host.vendor);
        UseSysfsRoot();
        ASSERT_EQ(LoadNTHMIO(), 1u);
        std::array<int32_t, 30> raw;
        raw.fill(kUntouched);
        ValueRAM(raw.data());
        EXPECT_EQ(raw[host.cpu], 2400);
        EXPECT_EQ(raw[host.sys], 900);
        EXPECT_EQ(raw[host.third], 500);
        UnloadNTHMIO();
    }
}

} // namespace
} // namespace hmio_test
