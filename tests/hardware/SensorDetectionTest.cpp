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

TEST_F(SensorDetectionTest, PlausibilityBoundsOnFirstAttemptAndRetry) {
    struct Case {
        int offset;
        uint8_t byte;
        bool valid;
    };
    const Case cases[] = {
        {0, 0, false},   {0, 1, true},    {0, 99, true},    {0, 100, false},
        {64, 64, false}, {64, 65, true},  {64, 163, true},  {64, 164, false},
        {-10, 0, true},  {-10, 89, true}, {-10, 90, false}, {14, 14, false},
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
                << "offset " << c.offset << " byte " << int(c.byte) << " retry " << retry;
            EXPECT_EQ(waits.size(), retry ? 1u : 0u);
            if (c.valid) {
                EXPECT_EQ(state.LastShown.CpuTempRaw, c.byte);
            }
        }
    }
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
