// The Settings dialog's number field and slider rules.
#include "config/NumericEditRules.h"

#include <gtest/gtest.h>

namespace sentinax {
namespace {

TEST(NumericEditRules, OnlyDigitsAndControlKeysPassAWholeNumberField) {
    const uint16_t mask = AcceptedMask(3);
    for (char32_t c : {U'0', U'5', U'9', U'\b', U'\t', char32_t(27)})
        EXPECT_TRUE(CharacterAccepted(c, mask)) << uint32_t(c);
    for (char32_t c : {U'a', U'E', U'x', U'-', U'.', U'_', U' ', U'+', U'\u00e9', U'\u0661'})
        EXPECT_FALSE(CharacterAccepted(c, mask)) << uint32_t(c);
    // A range below zero lets the minus sign through as well.
    EXPECT_TRUE(CharacterAccepted(U'-', AcceptedMask(-5)));
    EXPECT_FALSE(CharacterAccepted(U'.', AcceptedMask(-5)));
}

TEST(NumericEditRules, TypedNumbersAreHeldInsideTheRange) {
    struct Case {
        const char* text;
        int value;
        bool clamped;
    };
    const Case cases[] = {
        {"10", 10, false}, {"3", 3, false},      {"30", 30, false},
        {"0", 3, true},    {"", 3, true},        {"45", 30, true},
        {"2", 3, true},    {"12abc", 12, false}, {"99999999999999999999", 30, true},
        {"-7", 3, true},   {" 15", 15, false},
    };
    for (const Case& c : cases) {
        const HeldValue held = HoldInRange(c.text, 3, 30);
        EXPECT_EQ(held.Value, c.value) << c.text;
        EXPECT_EQ(held.Clamped, c.clamped) << c.text;
    }
}

TEST(NumericEditRules, TicksAndSliderActions) {
    EXPECT_EQ(TickSpacing(3, 30, 10), 2);
    EXPECT_EQ(TickSpacing(0, 5, 10), 1);
    EXPECT_EQ(TickSpacing(3, 30, 0), 1);
    EXPECT_TRUE(FieldFollows(SliderAction::Page));
    EXPECT_TRUE(FieldFollows(SliderAction::Drag));
    EXPECT_FALSE(FieldFollows(SliderAction::Step));
    EXPECT_FALSE(FieldFollows(SliderAction::JumpOrEnd));
    EXPECT_EQ(Mirrored(3, 3, 30), 30);
    EXPECT_EQ(Mirrored(10, 3, 30), 23);
}

} // namespace
} // namespace sentinax
