#include "FakeHardware.h"

#include "hardware/SensorDetection.h"

#include <gtest/gtest.h>

namespace sentinax {
namespace {

using test::FakeHardware;

class SensorDetectionTest : public ::testing::Test {
protected:
    void SetUp() override { hw().Reset(); }
    static FakeHardware& hw() { return FakeHardware::Instance(); }

    DetectionResult Detect() {
        lib = hw().Table();
        return DetectSensorHardware(lib, profile, state, [this](int ms) { waits.push_back(ms); });
    }

    HardwareLibrary lib;
    BoardProfile profile;
    SensorState state;
    std::vector<int> waits;
};

TEST_F(SensorDetectionTest, ChipAnsweringFirstTimeRunsTheFullSequence) {
    EXPECT_EQ(Detect(), DetectionResult::Ready);
    EXPECT_EQ(hw().Calls, (std::vector<std::string>{"DetectLM78", "DetectLM75",
                                                    "EnableSMSCHWMonitor", "ValueRAM"}));
    EXPECT_TRUE(waits.empty());
    EXPECT_TRUE(state.HardwareReady);
    EXPECT_TRUE(state.CpuTempValid);
    EXPECT_EQ(state.LastShown.CpuTempRaw, 45);
}

TEST_F(SensorDetectionTest, SilentChipIsRetriedOnceAfterTwoSeconds) {
    hw().Lm78Answers = {0, 1};
    EXPECT_EQ(Detect(), DetectionResult::Ready);
    EXPECT_EQ(waits, std::vector<int>{2000});
    EXPECT_EQ(hw().Count("DetectLM78"), 2);

    SetUp();
    waits.clear();
    state = {};
    hw().Lm78Answers = {0};
    EXPECT_EQ(Detect(), DetectionResult::ChipSilent);
    EXPECT_EQ(waits, std::vector<int>{2000});
    EXPECT_EQ(hw().Calls, (std::vector<std::string>{"DetectLM78", "DetectLM78"}));
    EXPECT_FALSE(state.HardwareReady);
}

TEST_F(SensorDetectionTest, TemperatureBlockIsFilledWithC9AndCarriesTheChipCommand) {
    profile.ChipCommand = 114;
    hw().Lm75Bytes = {{0, 50}};
    Detect();
    ASSERT_EQ(hw().Lm75Inputs.size(), 1u);
    const auto& in = hw().Lm75Inputs[0];
    EXPECT_EQ(in[0], 114);
    for (int i = 1; i < 8; ++i)
        EXPECT_EQ(in[i], 0xC9) << i;
    // Bytes the library does not write keep the fill.
    EXPECT_EQ(state.Params[3], 0xC9);
    // The chip command also goes into entry 7 before the first full read.
    EXPECT_EQ(hw().ValueRamEntry7, std::vector<int32_t>{114});
}

// The test finds sensors that are not there, not hot CPUs: the bytes a missing
// or unwired sensor gives are refused, a CPU at 100 degrees or more is taken.
TEST_F(SensorDetectionTest, PlausibilityBoundsOnFirstAttemptAndRetry) {
    struct Case {
        int offset;
        uint8_t byte;
        bool valid;
        const char* why;
    };
    const Case cases[] = {
        {0, 0, false, "nothing connected"},
        {0, 1, true, "cold"},
        {0, 99, true, "warm"},
        {0, 100, true, "a hot CPU is a reading"},
        {0, 108, true, "a hot start"},
        {0, 126, true, "the hottest believable"},
        {0, 127, false, "an open diode"},
        {0, 128, false, "an open diode, signed"},
        {0, 0xC9, false, "left unwritten"},
        {0, 0xFF, false, "all ones"},
        {64, 64, false, "at the offset"},
        {64, 65, true, "just above the offset"},
        {64, 164, true, "100 above the offset"},
        {64, 0x7F, false, "open-diode byte although 63 above the offset"},
        {64, 0x80, false, "open-diode byte although 64 above the offset"},
        {64, 190, true, "126 above the offset"},
        {64, 191, false, "127 above the offset"},
        {-10, 0, false, "nothing connected, whatever the offset"},
        {-10, 1, true, "11 above a negative offset"},
        {-10, 116, true, "126 above a negative offset"},
        {-10, 117, false, "127 above a negative offset"},
        {14, 14, false, "at the offset"},
    };
    for (bool retry : {false, true}) {
        for (const Case& c : cases) {
            SetUp();
            waits.clear();
            state = {};
            profile = {};
            profile.CpuTempOffset = c.offset;
            hw().Lm75Answers = retry ? std::deque<uint8_t>{0, 1} : std::deque<uint8_t>{1};
            hw().Lm75Bytes = {{0, c.byte}};
            Detect();
            EXPECT_EQ(state.CpuTempValid, c.valid)
                << "offset " << c.offset << " byte " << int(c.byte) << " retry " << retry << ": "
                << c.why;
            EXPECT_EQ(waits.size(), retry ? 1u : 0u);
            if (c.valid) {
                EXPECT_EQ(state.LastShown.CpuTempRaw, c.byte);
            }
        }
    }
}

// A CPU temperature missing at start-up is asked for again later: one call,
// no waits, the same test; the tick's own block is left alone until it passes.
TEST_F(SensorDetectionTest, MissingCpuTemperatureIsFoundByALaterRetry) {
    hw().Lm75Bytes = {}; // the source answers but writes no byte: 0xC9 stays
    ASSERT_EQ(Detect(), DetectionResult::Ready);
    ASSERT_FALSE(state.CpuTempValid);
    EXPECT_TRUE(state.HardwareReady);

    state.Params[3] = 77;
    hw().Calls.clear();
    EXPECT_FALSE(RetryCpuTemperature(lib, profile, state));
    hw().Lm75Bytes = {{0, 0xFF}};
    EXPECT_FALSE(RetryCpuTemperature(lib, profile, state));
    hw().Lm75Answers = {0};
    hw().Lm75Bytes = {{0, 61}};
    EXPECT_FALSE(RetryCpuTemperature(lib, profile, state)) << "a silent source gives nothing";
    EXPECT_FALSE(state.CpuTempValid);
    EXPECT_EQ(hw().Calls, (std::vector<std::string>{"DetectLM75", "DetectLM75", "DetectLM75"}));

    hw().Lm75Answers = {1};
    profile.ChipCommand = 0x72;
    EXPECT_TRUE(RetryCpuTemperature(lib, profile, state));
    EXPECT_TRUE(state.CpuTempValid);
    EXPECT_EQ(state.Params[0], 61);
    EXPECT_EQ(state.LastShown.CpuTempRaw, 61);
    EXPECT_EQ(state.Params[3], 77) << "only the CPU byte is taken";
    EXPECT_EQ(hw().Lm75Inputs.back()[0], 0x72) << "the chip command goes with the call";
    EXPECT_EQ(hw().Lm75Inputs.back()[1], 0xC9);
    EXPECT_TRUE(waits.empty());

    hw().Calls.clear();
    EXPECT_TRUE(RetryCpuTemperature(lib, profile, state));
    EXPECT_TRUE(hw().Calls.empty()) << "nothing to do once valid";
}

TEST_F(SensorDetectionTest, TemperatureSourceSilentTwiceLeavesCpuTempInvalid) {
    hw().Lm75Answers = {0};
    profile.ChipCommand = 0x72;
    EXPECT_EQ(Detect(), DetectionResult::Ready);
    EXPECT_FALSE(state.CpuTempValid);
    EXPECT_TRUE(state.HardwareReady);
    ASSERT_EQ(hw().Lm75Inputs.size(), 2u);
    EXPECT_EQ(hw().Lm75Inputs[1][0], 0x72); // the command is put back for the retry
    EXPECT_FALSE(state.SensorsReady());
}

TEST_F(SensorDetectionTest, CpuTemperatureSlotOneIsTested) {
    profile.CpuTempSlot = 1;
    hw().Lm75Bytes = {{0, 0}, {1, 52}};
    Detect();
    EXPECT_TRUE(state.CpuTempValid);
    EXPECT_EQ(state.LastShown.CpuTempRaw, 52);
}

TEST_F(SensorDetectionTest, SystemTemperatureFromSecondByteForSomeSelectors) {
    for (uint8_t selector : {0, 1, 2, 3, 4, 5, 6, 12, 22, 28}) {
        SetUp();
        state = {};
        profile = {};
        profile.ChipSelector = selector;
        hw().RawSlots = {{0, 1300}};
        hw().Lm75Bytes = {{0, 40}, {1, 31}};
        Detect();
        const bool expected = selector == 2 || selector == 3 || selector == 4 || selector == 6 ||
                              selector == 12 || selector == 22;
        EXPECT_EQ(Presence(state.Present, PresenceItem::SystemTemp), expected) << int(selector);
        EXPECT_EQ(state.LastShown.SystemTemp, expected ? 31 : 0) << int(selector);
    }
}

TEST_F(SensorDetectionTest, EmbeddedControllerReadsOnlyTheCpuFan) {
    profile.SensorSource = SensorSourceKind::EmbeddedController;
    profile.CpuFanSlot = 10;
    hw().EcResponses[{0x13, 0x14}] = {0x20, 0x03}; // 0x0320 = 800 counts
    EXPECT_EQ(Detect(), DetectionResult::Ready);
    EXPECT_TRUE(state.HardwareReady);
    EXPECT_TRUE(state.CpuTempValid);
    EXPECT_EQ(state.Raw[10], 2400);
    EXPECT_EQ(Presence(state.Present, PresenceItem::CpuFan), 1);
    EXPECT_TRUE(hw().Calls.empty()); // no other entry point

    // A controller that never answers is reported, and nothing is taken from it.
    state = {};
    hw().EcStuck = true;
    EXPECT_EQ(Detect(), DetectionResult::ControllerSilent);
    EXPECT_FALSE(state.HardwareReady);
    EXPECT_EQ(state.Raw[10], 0);
    EXPECT_EQ(Presence(state.Present, PresenceItem::CpuFan), 0);
}

TEST_F(SensorDetectionTest, DriverFailureMessageFollowsTheVersionText) {
    EXPECT_EQ(DriverFailureMessage("6.1.0-18-amd64"),
              "Failed to load Hardware Monitor Driver!\nThis program must run as administrator.");
    EXPECT_EQ(DriverFailureMessage("6.0"),
              "Failed to load Hardware Monitor Driver!\nThis program must run as administrator.");
    EXPECT_EQ(DriverFailureMessage("5.10.0-28-amd64"), "Failed to load Hardware Monitor Driver !");
    EXPECT_EQ(DriverFailureMessage("5.1"), "Failed to load Hardware Monitor Driver !");
    EXPECT_EQ(DriverFailureMessage(""), "Failed to load Hardware Monitor Driver !");
}

} // namespace
} // namespace sentinax
