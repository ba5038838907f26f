#include "FakeHardware.h"

#include "hardware/ReadoutText.h"
#include "hardware/SensorSampler.h"

#include <gtest/gtest.h>

#include <cmath>

namespace sentinax {
namespace {

TEST(ConversionTest, FiveVoltVariantsTruncateAfterTheFactor) {
    struct Case {
        FiveVoltRuleKind rule;
        int32_t expected;
    };
    // raw[1] = 1553, raw[3] = 3127, raw[4] = 5013, raw[5] = 3333, raw[6] = 3107
    const Case cases[] = {
        {FiveVoltRuleKind::AsRead, 3127},
        {FiveVoltRuleKind::CopySlot4, 5013},
        {FiveVoltRuleKind::Slot4Times1_5, 7519},         // 7519.5
        {FiveVoltRuleKind::Slot5Times1_6, 5332},         // 5332.8
        {FiveVoltRuleKind::Slot5Times1_5, 4999},         // 4999.5
        {FiveVoltRuleKind::Slot6Times1_61, 5002},        // 5002.27
        {FiveVoltRuleKind::Slot3Times1_6, 5003},         // 5003.2
        {FiveVoltRuleKind::Slot3Times1_5, 4690},         // 4690.5
        {FiveVoltRuleKind::Slot1DoubledTimes1_61, 5000}, // 3106 * 1.61 = 5000.66
    };
    for (const Case& c : cases) {
        BoardProfile profile;
        profile.FiveVoltRule = c.rule;
        RawValues raw{};
        raw[1] = 1553;
        raw[3] = 3127;
        raw[4] = 5013;
        raw[5] = 3333;
        raw[6] = 3107;
        EXPECT_EQ(ConvertFiveVolt(profile, raw), c.expected) << static_cast<int>(c.rule);
        EXPECT_EQ(raw[3], c.expected);
    }
}

TEST(ConversionTest, TwelveVoltVariantsFormTheIntegerProductFirst) {
    struct Case {
        TwelveVoltRuleKind rule;
        int slot;
        int32_t in;
        int offset;
        int32_t expected;
    };
    const Case cases[] = {
        {TwelveVoltRuleKind::Times6_6, 1, 1833, 0, 12097},          // 12097.8
        {TwelveVoltRuleKind::Times24Then0_3125, 2, 1601, 0, 12007}, // 38424 * 0.3125 = 12007.5
        {TwelveVoltRuleKind::Times12Then0_3125, 2, 3201, 0, 12003}, // 38412 * 0.3125 = 12003.75
        {TwelveVoltRuleKind::Times24Then20_63, 5, 1576, 0, 12007},  // 37824 * 20/63 = 12007.6
        {TwelveVoltRuleKind::Times12Then20_63, 5, 3152, 0, 12007},
        {TwelveVoltRuleKind::Times12Then20_63, 4, 12100, 0, 12100},    // left as read at slot 4
        {TwelveVoltRuleKind::Times12Then20_63, 4, 12100, -600, 12700}, // offset subtracted
    };
    for (const Case& c : cases) {
        BoardProfile profile;
        profile.TwelveVoltRule = c.rule;
        profile.V12Slot = c.slot;
        profile.TwelveVoltOffset = c.offset;
        RawValues raw{};
        raw[c.slot] = c.in;
        EXPECT_EQ(ConvertTwelveVolt(profile, raw), c.expected) << static_cast<int>(c.rule);
        EXPECT_EQ(raw[c.slot], c.expected);
    }
}

TEST(ConversionTest, GarbageValuesNeverOverflow) {
    BoardProfile profile;
    profile.TwelveVoltRule = TwelveVoltRuleKind::Times24Then0_3125;
    profile.V12Slot = 2;
    RawValues raw{};
    raw[2] = 2147483647;
    EXPECT_EQ(ConvertTwelveVolt(profile, raw), 2147483647);
    EXPECT_EQ(TruncateToInt32(-1e30), -2147483647 - 1);
    EXPECT_EQ(TruncateToInt32(std::nan("")), 0);
}

TEST(ConversionTest, FanCountOfTheChip) {
    EXPECT_EQ(FanCountToRpm(255), 0);
    EXPECT_EQ(FanCountToRpm(135), 2500);
    EXPECT_EQ(FanCountToRpm(1), 337500);
    EXPECT_EQ(FanCountToRpm(0), 0);
}

TEST(ReadoutTextTest, Formats) {
    EXPECT_EQ(VoltsText(1350), "1.35");
    EXPECT_EQ(VoltsText(12096), "12.10");
    EXPECT_EQ(VoltsText(0), "0.00");
    EXPECT_EQ(CpuTempText(45, true), "45 .C");
    EXPECT_EQ(CpuTempText(5, true), "05 .C");
    EXPECT_EQ(CpuTempText(-44, true), "-44 .C");
    EXPECT_EQ(CpuTempText(45, false), "113 .F");
    EXPECT_EQ(CpuTempText(-44, false), "-47 .F"); // -47.2 truncated toward zero
    EXPECT_EQ(SysTempText(7, true), "07  .C");
    EXPECT_EQ(SysTempText(35, false), "95 .F");
}

class SamplerTest : public ::testing::Test {
protected:
    BoardProfile profile;
    SensorState state;
    int32_t& CpuFan() { return state.Raw[profile.CpuFanSlot]; }
};

TEST_F(SamplerTest, AverageOfThreeSamplesIsTruncated) {
    profile.SamplesPerInterval = 3;
    SensorSampler sampler(profile);
    const int32_t samples[] = {3000, 3001, 3001, 2000, 2000, 2001};
    std::vector<bool> evaluation;
    std::vector<int32_t> shown;
    for (int32_t s : samples) {
        CpuFan() = s;
        evaluation.push_back(sampler.FilterCpuFan(state));
        shown.push_back(CpuFan());
    }
    EXPECT_EQ(evaluation, (std::vector<bool>{false, false, true, false, false, true}));
    EXPECT_EQ(shown[2], 3000); // 9002 / 3
    EXPECT_EQ(shown[5], 2000); // 6001 / 3
    EXPECT_EQ(shown[1], 3001); // between evaluations the slot holds the sample
    EXPECT_EQ(sampler.SamplePosition(), 0);
    EXPECT_EQ(sampler.SampleSum(), 0);
}

TEST_F(SamplerTest, EveryTickEvaluatesWithOneSample) {
    SensorSampler sampler(profile);
    for (int i = 0; i < 3; ++i) {
        CpuFan() = 1000 + i;
        EXPECT_TRUE(sampler.FilterCpuFan(state));
        EXPECT_EQ(CpuFan(), 1000 + i);
    }
}

TEST_F(SamplerTest, WindowMinAverageRetakesImplausibleSamplesAndLeansToTheSlowest) {
    profile.SamplesPerInterval = 3;
    profile.CpuFanFilter = CpuFanFilterKind::WindowMinAverage;
    SensorSampler sampler(profile);
    // 3000 kept, 900 thrown away and taken again, 3100, then 3200 completes.
    const int32_t samples[] = {3000, 900, 3100, 3200};
    std::vector<bool> evaluation;
    for (int32_t s : samples) {
        CpuFan() = s;
        evaluation.push_back(sampler.FilterCpuFan(state));
    }
    EXPECT_EQ(evaluation, (std::vector<bool>{false, false, false, true}));
    // avg = 9300 / 3 = 3100, min = 3000: (3000 + 3100) / 2
    EXPECT_EQ(CpuFan(), 3050);

    // A stopped fan (0) is kept and pulls the result to half the average.
    for (int32_t s : {3000, 0}) {
        CpuFan() = s;
        EXPECT_FALSE(sampler.FilterCpuFan(state));
    }
    CpuFan() = 3300;
    EXPECT_TRUE(sampler.FilterCpuFan(state));
    EXPECT_EQ(CpuFan(), 1050); // avg 2100, min 0

    // On the completing tick no range test applies.
    for (int32_t s : {3000, 3000}) {
        CpuFan() = s;
        sampler.FilterCpuFan(state);
    }
    CpuFan() = 9000;
    EXPECT_TRUE(sampler.FilterCpuFan(state));
    EXPECT_EQ(CpuFan(), 4000); // avg 5000, min 3000: the 9000 counts in full
}

TEST_F(SamplerTest, TemperatureRearrangements) {
    state.Params = {40, 31, 77, 0, 0, 0, 0, 0};
    state.Raw[5] = 0x133; // only the low byte is taken
    state.Raw[6] = 28;
    state.Raw[7] = 35;

    profile.TempSourceRule = TempSourceRuleKind::SwapWithSystem;
    SensorState swapped = state;
    SensorSampler(profile).RearrangeTemperatures(swapped, false);
    EXPECT_EQ(swapped.Params[0], 35);
    EXPECT_EQ(swapped.Params[1], 40);
    EXPECT_EQ(swapped.Raw[7], 40);

    profile.TempSourceRule = TempSourceRuleKind::SecondByteAsCpu;
    SensorState second = state;
    SensorSampler(profile).RearrangeTemperatures(second, false);
    EXPECT_EQ(second.Params[0], 31);

    profile.TempSourceRule = TempSourceRuleKind::FromRawSlots;
    profile.SystemTempFromChip = true;
    SensorState slots = state;
    SensorSampler(profile).RearrangeTemperatures(slots, false);
    EXPECT_EQ(slots.Params[0], 0x33);
    EXPECT_EQ(slots.Params[1], 28);
    EXPECT_EQ(slots.Raw[7], 28);
}

TEST_F(SamplerTest, CpuTemperatureFloorCheck) {
    profile.CpuTempFloorCheck = true;
    SensorSampler sampler(profile);
    state.Params[0] = 30;
    state.Raw[7] = 30;
    sampler.RearrangeTemperatures(state, true);
    EXPECT_EQ(state.Params[0], 33); // not above the system temperature: raised

    state.LastShown.SystemTemp = 35;
    state.LastShown.CpuTempRaw = 44;
    state.Params[0] = 36; // below 35 + 2
    sampler.RearrangeTemperatures(state, false);
    EXPECT_EQ(state.Params[0], 44);
    state.Params[0] = 37;
    sampler.RearrangeTemperatures(state, false);
    EXPECT_EQ(state.Params[0], 37);
}

TEST_F(SamplerTest, ChipCountFansAndSystemFanFollowingTheCpuFan) {
    profile.ChipSelector = 1;
    SensorSampler sampler(profile);
    state.Params[2] = 135;
    state.Raw[profile.SysFanSlot] = 0;
    EXPECT_EQ(sampler.ConvertCpuFan(state), 2500);
    EXPECT_EQ(sampler.ConvertSysFan(state), 0); // never seen turning
    state.Raw[profile.SysFanSlot] = 1;
    EXPECT_EQ(sampler.ConvertSysFan(state), 2000); // 2500 * 0.8
    state.Params[2] = 255;
    sampler.ConvertCpuFan(state);
    state.Raw[profile.SysFanSlot] = 0;
    EXPECT_EQ(sampler.ConvertSysFan(state), 0); // seen once: follows the CPU fan (now 0)
    state.Params[2] = 100;
    sampler.ConvertCpuFan(state);
    EXPECT_EQ(sampler.ConvertSysFan(state), 2700); // 3375 * 0.8, the latch holds
}

TEST_F(SamplerTest, JitterCyclesAndLeavesAStoppedFanAlone) {
    profile.FanEmulation = FanEmulationKind::Jitter;
    SensorSampler sampler(profile);
    std::vector<int32_t> cpu;
    for (int i = 0; i < 5; ++i) {
        CpuFan() = i == 2 ? 0 : 2000;
        cpu.push_back(sampler.ConvertCpuFan(state));
    }
    EXPECT_EQ(cpu, (std::vector<int32_t>{2016, 2032, 0, 2000, 2016}));
}

TEST_F(SamplerTest, BandedJitterByCpuTemperature) {
    profile.FanEmulation = FanEmulationKind::BandedJitter;
    SensorSampler sampler(profile);
    state.Params[0] = 58;
    CpuFan() = 3000; // outside 3400..4000: replaced by 3700
    EXPECT_EQ(sampler.ConvertCpuFan(state), 3716);
    CpuFan() = 3400; // inclusive band
    EXPECT_EQ(sampler.ConvertCpuFan(state), 3432);
    CpuFan() = 4000;
    EXPECT_EQ(sampler.ConvertCpuFan(state), 4048);
    CpuFan() = 4000;
    EXPECT_EQ(sampler.ConvertCpuFan(state), 4004); // 64 > 50: back to 4
    CpuFan() = 0;
    EXPECT_EQ(sampler.ConvertCpuFan(state), 0);

    state.Params[0] = 66;
    int32_t& sys = state.Raw[profile.SysFanSlot];
    sys = 100;
    EXPECT_EQ(sampler.ConvertSysFan(state), 5426);
    sys = 5000;
    EXPECT_EQ(sampler.ConvertSysFan(state), 5052);
    sys = 5000;
    EXPECT_EQ(sampler.ConvertSysFan(state), 5004); // 78 > 70: back to 4
}

TEST_F(SamplerTest, FanWarnGates) {
    profile.FanWarnTempGate = FanWarnTempGateKind::Below48;
    SensorSampler gate48(profile);
    state.Params[0] = 47;
    gate48.UpdateFanWarnFrozen(state);
    EXPECT_TRUE(gate48.FanWarnFrozen());
    state.Params[0] = 48;
    gate48.UpdateFanWarnFrozen(state);
    EXPECT_FALSE(gate48.FanWarnFrozen());

    profile.FanWarnTempGate = FanWarnTempGateKind::Always;
    SensorSampler always(profile);
    EXPECT_TRUE(always.FanWarnFrozen());
    always.UpdateFanWarnFrozen(state);
    EXPECT_TRUE(always.FanWarnFrozen());

    profile.FanWarnTempGate = FanWarnTempGateKind::None;
    SensorSampler none(profile);
    state.Params[0] = 10;
    none.UpdateFanWarnFrozen(state);
    EXPECT_FALSE(none.FanWarnFrozen());
}

TEST_F(SamplerTest, EmbeddedControllerReadsThreeValues) {
    using test::FakeHardware;
    FakeHardware::Instance().Reset();
    FakeHardware& hw = FakeHardware::Instance();
    hw.EcResponses[{0x13, 0x00}] = {52, 0};
    hw.EcResponses[{0x13, 0x14}] = {0x84, 0x03};
    hw.EcResponses[{0x14, 0x00}] = {36, 0};
    profile.SensorSource = SensorSourceKind::EmbeddedController;
    profile.CpuFanSlot = 10;
    SensorSampler(profile).Read(hw.Table(), state);
    EXPECT_EQ(state.Params[0], 52);
    EXPECT_EQ(state.Raw[10], 2700);
    EXPECT_EQ(state.Raw[7], 36);
    EXPECT_EQ(state.NoReading, 0u);

    // A controller that stops answering gives no reading: the values stay as
    // they were instead of taking the buffer's byte count (2 degrees, 6 rpm).
    hw.EcResponses.erase({0x13, 0x14});
    hw.EcResponses[{0x14, 0x00}] = {37, 0};
    SensorSampler(profile).Read(hw.Table(), state);
    EXPECT_EQ(state.Params[0], 52);
    EXPECT_EQ(state.Raw[10], 2700);
    EXPECT_EQ(state.Raw[7], 37);
    EXPECT_FALSE(state.HasReading(ReadoutItem::CpuFan));
    EXPECT_TRUE(state.HasReading(ReadoutItem::CpuTemp));
    hw.EcStuck = true;
    SensorSampler(profile).Read(hw.Table(), state);
    EXPECT_EQ(state.Params[0], 52);
    EXPECT_EQ(state.Raw[7], 37);
    EXPECT_FALSE(state.HasReading(ReadoutItem::CpuTemp));
    EXPECT_FALSE(state.HasReading(ReadoutItem::SysTemp));
}

} // namespace
} // namespace sentinax
