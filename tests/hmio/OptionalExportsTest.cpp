// The optional entry points between a library and a caller of another age:
// the status structure is cut or padded to the caller's size, and a notice
// that does not fit stays for a larger buffer.
#include "HmioFixture.h"
#include "Library.h"

#include <gtest/gtest.h>

#include <deque>

namespace hmio {
namespace {

class ReportingBackend : public Backend {
public:
    std::deque<std::string> Notices;

    uint32_t LoadNTHMIO() override { return 1; }
    void UnloadNTHMIO() override {}
    uint32_t GetVid() override { return 0; }
    DmiData ReadDmi() override { return {}; }
    uint8_t DetectLM78() override { return 1; }
    uint8_t DetectLM75(uint8_t*, uint8_t) override { return 1; }
    uint32_t ValueRAM(int32_t*) override { return 0; }
    uint8_t ReadPort(uint16_t) override { return 0; }
    void WritePort(uint16_t, uint8_t) override {}
    uint8_t ChassisIntrusion() override { return 0; }
    void ChassisClear() override {}
    void GetStatus(HmioStatus& status) override {
        status.Generation = 3;
        status.LostSlots = 1u << 4;
        status.CpuTempCrit = 100;
    }
    std::string SensorReport() override { return "chip nct6798-isa-0290\n"; }
    std::string NextNotice() override {
        if (Notices.empty())
            return {};
        std::string next = Notices.front();
        Notices.pop_front();
        return next;
    }
};

struct Fixture {
    ReportingBackend* backend = new ReportingBackend;
    Library library{std::unique_ptr<Backend>(backend), -1};
};

TEST(OptionalExportsTest, StatusIsCutOrPaddedToTheCallersSize) {
    Fixture f;
    // An older caller knows only Size, Generation and UncheckedSlots.
    uint32_t older[4] = {3 * sizeof(uint32_t), 0xAAAAAAAA, 0xAAAAAAAA, 0xAAAAAAAA};
    f.library.GetStatus(reinterpret_cast<HmioStatus*>(older));
    EXPECT_EQ(older[0], 3 * sizeof(uint32_t));
    EXPECT_EQ(older[1], 3u);
    EXPECT_EQ(older[2], 0u);
    EXPECT_EQ(older[3], 0xAAAAAAAAu) << "written past the caller's structure";
    // A newer caller's extra fields read zero.
    struct Newer {
        HmioStatus Known;
        uint32_t Extra;
    } newer{};
    newer.Known.Size = sizeof newer;
    newer.Extra = 7;
    f.library.GetStatus(&newer.Known);
    EXPECT_EQ(newer.Known.Size, sizeof newer);
    EXPECT_EQ(newer.Known.LostSlots, 1u << 4);
    EXPECT_EQ(newer.Known.CpuTempCrit, 100);
    EXPECT_EQ(newer.Extra, 0u);
}

TEST(OptionalExportsTest, TextsAreTakenOnlyWhenTheyFit) {
    Fixture f;
    f.backend->Notices = {"first notice", "second"};
    char small[5] = "xxxx";
    EXPECT_EQ(f.library.NextNotice(small, sizeof small), 12u);
    EXPECT_STREQ(small, "xxxx") << "a notice that does not fit is not written";
    char big[64];
    EXPECT_EQ(f.library.NextNotice(big, sizeof big), 12u);
    EXPECT_STREQ(big, "first notice");
    EXPECT_EQ(f.library.NextNotice(big, sizeof big), 6u);
    EXPECT_STREQ(big, "second");
    EXPECT_EQ(f.library.NextNotice(big, sizeof big), 0u);
    EXPECT_STREQ(big, "");
    EXPECT_EQ(f.library.SensorReport(nullptr, 0), 22u);
    EXPECT_EQ(f.library.SensorReport(big, sizeof big), 22u);
    EXPECT_STREQ(big, "chip nct6798-isa-0290\n");
}

} // namespace
} // namespace hmio

namespace {

class ScenarioStatusTest : public hmio_test::HmioFixture {};

// The simulator reports the CPU sensor's critical limit its scenario gives;
// a malformed value is refused with its line and leaves none.
TEST_F(ScenarioStatusTest, CpuCritFromTheScenario) {
    struct Case {
        const char* line;
        int32_t crit;
    } cases[] = {{"cpu-crit 95", 95}, {"cpu-crit 0", 0}, {"cpu-crit hot", 0}, {"", 0}};
    for (const Case& c : cases) {
        UseScenario(std::string("vendor 0x1022\n") + c.line + "\n");
        HmioStatus status{};
        status.Size = sizeof status;
        HmioGetStatus(&status);
        EXPECT_EQ(status.CpuTempCrit, c.crit) << c.line;
        EXPECT_EQ(status.LostSlots, 0u);
    }
}

} // namespace
