#include "HmioFixture.h"

#include "ChannelMap.h"
#include "Scenario.h"

#include <array>
#include <vector>
#include <string>
#include <sstream>

namespace hmio_test {
namespace {

TEST_F(HmioFixture, DetectionSequencesRepeatTheirLastValue) {
    UseScenario("load 0 1\nlm78 0 1\nlm75 0 0 2\nvendor 0x8086\n");
    EXPECT_EQ(LoadNTHMIO(), 0u);
    EXPECT_EQ(LoadNTHMIO(), 1u);
    EXPECT_EQ(GetVid(), 0x8086u);
    const std::vector<int> lm78 = {DetectLM78(), DetectLM78(), DetectLM78(), DetectLM78()};
    EXPECT_EQ(lm78, (std::vector<int>{0, 1, 1, 1}));
    std::array<uint8_t, 8> params{};
    const std::vector<int> lm75 = {DetectLM75(params.data(), 0), DetectLM75(params.data(), 0),
                                   DetectLM75(params.data(), 0), DetectLM75(params.data(), 0)};
    EXPECT_EQ(lm75, (std::vector<int>{0, 0, 2, 2}));
}

TEST_F(HmioFixture, ParamsCycleAndUnlistedBytesKeepTheirValue) {
    UseScenario("param 0 40 41 42 cycle\nparam 1 30*2 31\n");
    std::vector<int> cpu, second;
    for (int i = 0; i < 5; ++i) {
        std::array<uint8_t, 8> params;
        params.fill(0xC9);
        ASSERT_EQ(DetectLM75(params.data(), 3), 1);
        cpu.push_back(params[0]);
        second.push_back(params[1]);
        for (int b = 2; b < 8; ++b)
            EXPECT_EQ(params[b], 0xC9);
    }
    EXPECT_EQ(cpu, (std::vector<int>{40, 41, 42, 40, 41}));
    EXPECT_EQ(second, (std::vector<int>{30, 30, 31, 31, 31}));
}

TEST_F(HmioFixture, ValueRamWritesOnlyScenarioSlots) {
    UseScenario("slot 0 1350 1360\nslot 29 -5 hold\n");
    std::array<int32_t, 30> raw;
    raw.fill(7);
    ValueRAM(raw.data());
    ValueRAM(raw.data());
    ValueRAM(raw.data());
    EXPECT_EQ(raw[0], 1360);
    EXPECT_EQ(raw[29], -5);
    for (int i = 1; i < 29; ++i)
        EXPECT_EQ(raw[i], 7) << "slot " << i;
}

TEST_F(HmioFixture, ChassisLatchHoldsUntilCleared) {
    UseScenario("chassis 0 1 0\nchassis-clear clears\n");
    EXPECT_EQ(ChassisIntrusion(), 0);
    EXPECT_EQ(ChassisIntrusion(), 1);
    EXPECT_EQ(ChassisIntrusion(), 1); // latched although the switch closed again
    ChassisClear();
    EXPECT_EQ(ChassisIntrusion(), 0);

    UseScenario("chassis 1 0\nchassis-clear ignored\n");
    EXPECT_EQ(ChassisIntrusion(), 1);
    ChassisClear();
    EXPECT_EQ(ChassisIntrusion(), 1);
}

// The status carries the scenario's critical limit as given, even one no real
// sensor reports, so that the monitor's handling of bad limits can be played.
TEST_F(HmioFixture, StatusCarriesTheScenarioCriticalLimit) {
    for (const auto& [line, crit] :
         std::vector<std::pair<std::string, int32_t>>{{"", 0},
                                                      {"cpu-crit 100\n", 100},
                                                      {"cpu-crit 0x5f\n", 95},
                                                      {"cpu-crit -5\n", -5},
                                                      {"cpu-crit 1000\ncpu-crit 200\n", 200}}) {
        UseScenario(line);
        HmioStatus status{};
        status.Size = sizeof status;
        HmioGetStatus(&status);
        EXPECT_EQ(status.CpuTempCrit, crit) << line;
        EXPECT_EQ(status.LostParams, 0u) << line;
    }
}

TEST_F(HmioFixture, MalformedScenarioLinesAreReportedAndIgnored) {
    ::testing::internal::CaptureStderr();
    UseScenario("lm78 0\n"
                "lm78 1 x\n"   // line 2: not a number
                "param 9 40\n" // line 3: no such byte
                "param 0 45\n");
    std::array<uint8_t, 8> params{};
    EXPECT_EQ(DetectLM78(), 0);
    EXPECT_EQ(DetectLM75(params.data(), 0), 1);
    EXPECT_EQ(params[0], 45);
    const std::string errors = ::testing::internal::GetCapturedStderr();
    const std::string file = (dir_ / "test.scenario").string();
    EXPECT_NE(errors.find(file + ":2: "), std::string::npos) << errors;
    EXPECT_NE(errors.find(file + ":3: "), std::string::npos) << errors;
    EXPECT_EQ(errors.find(":4:"), std::string::npos) << errors;
}

TEST_F(HmioFixture, MissingScenarioFileIsReported) {
    ::testing::internal::CaptureStderr();
    ::setenv("HMIO_SCENARIO", "/nonexistent/x.scenario", 1);
    hmio::ResetInstance();
    EXPECT_EQ(GetVid(), 0u);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("/nonexistent/x.scenario: "),
              std::string::npos);
}

// A scenario of garbage: its first ten problems are said, the rest counted
// against the file they came from.
TEST_F(HmioFixture, AGarbageScenarioSaysItsFirstProblemsAndCountsTheRest) {
    std::string text;
    for (int i = 0; i < 1234; ++i)
        text += "frobnicate " + std::to_string(i) + "\n";
    const std::string path = Write("garbage.scenario", text);
    ::setenv("HMIO_SCENARIO", path.c_str(), 1);
    ::testing::internal::CaptureStderr();
    hmio::ResetInstance();
    (void)GetVid();
    const std::string said = ::testing::internal::GetCapturedStderr();
    std::istringstream lines(said);
    std::vector<std::string> all;
    for (std::string line; std::getline(lines, line);)
        all.push_back(line);
    ASSERT_EQ(all.size(), 11u) << said;
    EXPECT_EQ(all[0].rfind(path + ":1: ", 0), 0u) << all[0];
    EXPECT_EQ(all[10], "... and 1,224 more problems in " + path);
}

// Each line alone is malformed: one message naming line 1, nothing taken from it.
TEST(ScenarioParser, EveryMalformedLineGivesOneMessage) {
    const char* lines[] = {"slot 30 1",
                           "slot 1",
                           "slot 1 5*0",
                           "param 0 256",
                           "lm78",
                           "vendor 0x1 2",
                           "chassis 2",
                           "chassis-clear no",
                           "ec 0x13 0x00 2d",
                           "ec 0x13 0x100 = 1",
                           "ec 0x13 0 = | 1",
                           "ec 0x13 0 = none 1",
                           "ec-input-busy -1",
                           "ec-no-output 1",
                           "frobnicate 1",
                           "dmi",
                           "product \"a\"b\"",
                           "load 1 cycle cycle",
                           "cpu-crit",
                           "cpu-crit 95 100",
                           "cpu-crit 0x100000000",
                           "cpu-crit hot"};
    for (const char* line : lines) {
        hmio::ParseErrors errors;
        const hmio::Scenario scenario = hmio::ParseScenario(line, "s.scenario", errors);
        ASSERT_EQ(errors.size(), 1u) << line;
        EXPECT_EQ(errors[0].rfind("s.scenario:1: ", 0), 0u) << errors[0];
        EXPECT_TRUE(scenario.Slots[1].Empty()) << line;
        EXPECT_TRUE(scenario.Ec.empty()) << line;
        EXPECT_FALSE(scenario.HasBoard) << line;
    }
}

TEST(ChannelMapParser, RowsScalesAndMalformedRows) {
    hmio::ParseErrors errors;
    const auto map = hmio::ParseChannelMap("it87* temp1_input param0\n"
                                           "\n# comment\n"
                                           "it87* in4_input slot4 *56/10 # divider\n"
                                           "it87* in4_input slot30\n"
                                           "it87* in4_input slot4 *0\n"
                                           "it*87 in4_input slot4\n"
                                           "it87 in4_input\n"
                                           "it87 in4/../x slot4\n"
                                           "ec-ports raw\n"
                                           "it87* fan1_input cpufan\n"
                                           "ec-ports sometimes\n",
                                           "m.map", errors);
    ASSERT_EQ(map.Entries.size(), 3u);
    EXPECT_EQ(map.EcPorts, hmio::EcPortAccess::Raw);
    EXPECT_EQ(hmio::TargetIndex(map.Entries[2], 0x8086), 10);
    EXPECT_EQ(hmio::TargetIndex(map.Entries[2], 0x1022), 8);
    EXPECT_EQ(hmio::ScaleValue(map.Entries[0], 45999), 45);
    EXPECT_EQ(hmio::ScaleValue(map.Entries[1], 2150), 12040);
    EXPECT_TRUE(hmio::ChipNameMatches(map.Entries[0].Chip, "it8728"));
    EXPECT_FALSE(hmio::ChipNameMatches("it87", "it8728"));
    ASSERT_EQ(errors.size(), 6u);
    EXPECT_EQ(errors[0].rfind("m.map:5: ", 0), 0u);
    EXPECT_EQ(errors[4].rfind("m.map:9: ", 0), 0u);
    EXPECT_EQ(errors[5].rfind("m.map:12: ", 0), 0u);
}

TEST(ChannelMapParser, ShippedMapParsesCleanly) {
    hmio::ParseErrors errors;
    const auto map = hmio::ParseChannelMap(hmio::BuiltinChannelMapText(), "builtin", errors);
    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_GT(map.Entries.size(), 40u);
    EXPECT_EQ(map.EcPorts, hmio::EcPortAccess::None); // never on by default
}

TEST(ShippedScenarios, ParseCleanly) {
    for (const char* name : {"demo", "silent-chip", "ec-board", "overheat"}) {
        const std::string path = std::string(HMIO_DATA_DIR) + "/scenarios/" + name + ".scenario";
        const auto text = hmio::ReadWholeFile(path);
        ASSERT_TRUE(text) << path;
        hmio::ParseErrors errors;
        hmio::ParseScenario(*text, path, errors);
        EXPECT_TRUE(errors.empty()) << errors.front();
    }
}

} // namespace
} // namespace hmio_test
