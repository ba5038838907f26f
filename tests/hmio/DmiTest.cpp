#include "HmioFixture.h"

#include "Smbios.h"

#include <array>
#include <cstring>

namespace hmio_test {
namespace {

struct Identity {
    std::string Product, Version;
};

// The monitor's walk of the structure table: other structures are skipped to
// their first double zero byte; the base board's strings are taken in order.
Identity WalkLikeTheMonitor(const std::vector<uint8_t>& t) {
    Identity id;
    size_t at = 0;
    for (int n = 0; n < 224 && at + 2 <= t.size(); ++n) {
        if (t[at] != 2) {
            size_t p = at;
            while (p + 1 < t.size() && !(t[p] == 0 && t[p + 1] == 0))
                ++p;
            at = p + 2;
            continue;
        }
        const uint8_t* s = &t[at];
        size_t p = at + s[1];
        auto next = [&] {
            std::string text(reinterpret_cast<const char*>(&t[p]));
            p += text.size() + 1;
            return text;
        };
        if (!s[4] && !s[5] && !s[6] && !s[7]) {
            at = p + 2;
            continue;
        }
        if (s[4])
            next();
        if (s[5])
            id.Product = next();
        if (s[6]) {
            id.Version = next();
            break;
        }
        at = s[7] ? (next(), p) : p + 1;
    }
    return id;
}

std::vector<uint8_t> ReadTable(uint32_t length) {
    std::vector<uint8_t> table(length + 4, 0xEE);
    GetDMIData(table.data());
    EXPECT_EQ(table[length], 0xEE) << "copied past the length";
    table.resize(length);
    return table;
}

uint8_t Checksum(const std::array<uint8_t, 20>& point) {
    uint8_t sum = 0;
    for (int i = 0; i < 15; ++i)
        sum = static_cast<uint8_t>(sum + point[i]);
    return sum;
}

uint32_t Le32(const uint8_t* at) {
    return at[0] | at[1] << 8 | at[2] << 16 | uint32_t(at[3]) << 24;
}

TEST_F(HmioFixture, SimulatedBoardTableSuitsTheMonitorsWalk) {
    UseScenario("manufacturer Korvane\nproduct KX-4100 Demo\nversion 1.0\n");
    std::array<uint8_t, 20> point{};
    const uint32_t length = GetDMILength(point.data());
    ASSERT_GT(length, 0u);
    const auto table = ReadTable(length);
    const Identity id = WalkLikeTheMonitor(table);
    EXPECT_EQ(id.Product, "KX-4100 Demo");
    EXPECT_EQ(id.Version, "1.0");
    EXPECT_EQ(std::memcmp(point.data(), "_DMI_", 5), 0);
    EXPECT_EQ(Checksum(point), 0);
    EXPECT_EQ(point[6] | point[7] << 8, static_cast<int>(length));
    EXPECT_NE(Le32(&point[8]), 0u);
    EXPECT_EQ(point[12] | point[13] << 8, 6); // five structures and the end marker
    EXPECT_NE(table[0], 2) << "the base board must not come first";
}

TEST_F(HmioFixture, SimulatorDmiFromRawFileOrNone) {
    Write("broken.dmi", std::string("\x02\x40\x00", 3)); // truncated structure
    UseScenario("product X\ndmi broken.dmi\n");
    std::array<uint8_t, 20> point{};
    ASSERT_EQ(GetDMILength(point.data()), 3u);
    EXPECT_EQ(ReadTable(3), (std::vector<uint8_t>{2, 0x40, 0}));

    UseScenario("product X\ndmi none\n");
    EXPECT_EQ(GetDMILength(point.data()), 0u);
}

TEST_F(HmioFixture, SysfsDmiWithSmbios2EntryPoint) {
    const auto table = hmio::BuildBoardTable({"Maker", "P8Z77-V", "Rev 1.xx"});
    Write("root/sys/firmware/dmi/tables/DMI", std::string(table.begin(), table.end()));
    std::string entry(31, '\0');
    entry.replace(0, 4, "_SM_");
    entry.replace(16, 5, "_DMI_");
    entry[22] = 0x34; // table address 0x000F1234 at offset 24 of the file
    entry[24] = 0x34;
    entry[25] = 0x12;
    entry[26] = 0x0F;
    entry[30] = 0x27;
    Write("root/sys/firmware/dmi/tables/smbios_entry_point", entry);
    UseSysfsRoot();
    std::array<uint8_t, 20> point;
    point.fill(0xAA);
    const uint32_t length = GetDMILength(point.data());
    ASSERT_EQ(length, table.size());
    EXPECT_EQ(ReadTable(length), table);
    EXPECT_EQ(std::memcmp(point.data(), entry.data() + 16, 15), 0);
    EXPECT_EQ(Le32(&point[8]), 0x000F1234u);
    EXPECT_EQ(point[15], 0);
}

TEST_F(HmioFixture, SysfsDmiWithSmbios3EntryPointGetsSynthesizedAnchor) {
    Write("root/sys/firmware/dmi/tables/DMI", std::string(100, '\x7f'));
    Write("root/sys/firmware/dmi/tables/smbios_entry_point",
          std::string("_SM3_\x00\x18\x03\x04\x01", 10) + std::string(14, '\0'));
    UseSysfsRoot();
    std::array<uint8_t, 20> point{};
    ASSERT_EQ(GetDMILength(point.data()), 100u);
    EXPECT_EQ(std::memcmp(point.data(), "_DMI_", 5), 0);
    EXPECT_EQ(Le32(&point[8]), 0u);
    EXPECT_EQ(point[14], 0x34);
    EXPECT_EQ(Checksum(point), 0);
}

TEST_F(HmioFixture, SysfsUnreadableDmiFallsBackToBoardStrings) {
    UseSysfsRoot();
    std::array<uint8_t, 20> point{};
    EXPECT_EQ(GetDMILength(point.data()), 0u);
    Write("root/sys/class/dmi/id/board_vendor", "Maker Inc.\n");
    Write("root/sys/class/dmi/id/board_name", "B550 Board\n");
    Write("root/sys/class/dmi/id/board_version", "x.x\n");
    const uint32_t length = GetDMILength(point.data());
    ASSERT_GT(length, 0u);
    const Identity id = WalkLikeTheMonitor(ReadTable(length));
    EXPECT_EQ(id.Product, "B550 Board");
    EXPECT_EQ(id.Version, "x.x");
}

} // namespace
} // namespace hmio_test
