#include "hardware/SensorDetection.h"

#include <gtest/gtest.h>

namespace sentinax {
namespace {

// Presence order: system temperature, CPU fan, SYS fan, third fan, Vcore, 3.3 V, +5 V, +12 V.
PresenceFlags Derive(const BoardProfile& profile, const RawValues& raw,
                     SensorState* out = nullptr) {
    SensorState state;
    state.Raw = raw;
    DerivePresence(profile, state);
    if (out)
        *out = state;
    return state.Present;
}

RawValues Board() {
    RawValues raw{};
    raw[0] = 1350; // Vcore
    raw[2] = 3300; // 3.3 V at the default slot
    raw[3] = 5000;
    raw[4] = 12000; // +12 V at the default slot
    raw[7] = 35;
    raw[8] = 2700;
    raw[9] = 1800;
    raw[10] = 2100;
    return raw;
}

TEST(PresenceTest, ValuesAboveZeroExist) {
    BoardProfile p;
    EXPECT_EQ(Derive(p, Board()), (PresenceFlags{1, 1, 1, 1, 1, 1, 1, 1}));
    RawValues raw = Board();
    raw[10] = 0;
    raw[3] = -5;
    EXPECT_EQ(Derive(p, raw), (PresenceFlags{1, 1, 1, 0, 1, 1, 0, 1}));
}

TEST(PresenceTest, SuppressionsOfTheBoard) {
    struct Case {
        const char* name;
        void (*set)(BoardProfile&);
        PresenceFlags expected;
    };
    const Case cases[] = {
        {"NoRail33", [](BoardProfile& p) { p.NoRail33 = true; }, {1, 1, 1, 1, 1, 0, 1, 1}},
        {"NoRail12", [](BoardProfile& p) { p.NoRail12 = true; }, {1, 1, 1, 1, 1, 1, 1, 0}},
        {"NoVoltages", [](BoardProfile& p) { p.NoVoltages = true; }, {1, 1, 1, 1, 0, 0, 0, 0}},
        {"NoRail5", [](BoardProfile& p) { p.NoRail5 = true; }, {1, 1, 1, 1, 1, 1, 0, 1}},
        {"NoSysTemp", [](BoardProfile& p) { p.NoSysTemp = true; }, {0, 1, 1, 1, 1, 1, 1, 1}},
        {"SysTempNeverFlagged",
         [](BoardProfile& p) { p.SysTempNeverFlagged = true; },
         {0, 1, 1, 1, 1, 1, 1, 1}},
        {"FanFlagsOff", [](BoardProfile& p) { p.FanFlagsOff = true; }, {1, 1, 0, 0, 1, 1, 1, 1}},
    };
    for (const Case& c : cases) {
        BoardProfile p;
        c.set(p);
        EXPECT_EQ(Derive(p, Board()), c.expected) << c.name;
    }
}

TEST(PresenceTest, SlotsOfTheBoardAndFirstReadingsWhateverTheSuppressions) {
    BoardProfile p;
    p.V33Slot = 1;
    p.V12Slot = 5;
    p.CpuFanSlot = 10;
    p.PowerFanSlot = 8;
    p.NoVoltages = true;
    p.NoSysTemp = true;
    RawValues raw = Board();
    raw[1] = 3310;
    raw[5] = 12100;
    SensorState s;
    Derive(p, raw, &s);
    EXPECT_EQ(s.LastShown.V33, 3310);
    EXPECT_EQ(s.LastShown.V12, 12100);
    EXPECT_EQ(s.LastShown.Vcore, 1350);
    EXPECT_EQ(s.LastShown.SystemTemp, 35);
    EXPECT_EQ(s.LastShown.CpuFan, 2100);
    EXPECT_EQ(s.LastShown.PowerFan, 2700);
}

} // namespace
} // namespace sentinax
