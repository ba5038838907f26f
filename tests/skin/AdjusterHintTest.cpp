#include "skin/AdjusterHint.h"

#include "config/LimitConversion.h"
#include "config/LimitItem.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <string>

namespace sentinax {
namespace {

int Item(LimitItem item) {
    return static_cast<int>(item);
}

TEST(AdjusterHint, TextsInBothUnits) {
    struct Case {
        const char* why;
        LimitItem item;
        int position;
        bool celsius;
        std::string text;
    } cases[] = {
        {"Celsius", LimitItem::CpuTempUpper, 90, true, "CPU temperature max threshold : 95 'C"},
        {"Fahrenheit from the same 95", LimitItem::CpuTempUpper, 90, false,
         "CPU temperature max threshold : 203 'F"},
        {"122.9 truncated", LimitItem::CpuTempUpper, 1, false,
         "CPU temperature max threshold : 122 'F"},
        {"0.5 'C is 32.9 'F", LimitItem::CpuTempLower, 1, false,
         "CPU temperature min threshold : 32 'F"},
        {"system, Celsius", LimitItem::SysTempLower, 100, true,
         "System temperature min threshold : 50 'C"},
        {"fan minimum", LimitItem::CpuFanLower, 30, true, "CPU fan min threshold : 1500 rpm"},
        {"fans ignore the unit", LimitItem::PsFanUpper, 10, false,
         "Power fan max threshold : 5700 rpm"},
        {"rounded: the limit is 2,009 mV", LimitItem::VcoreUpper, 1, true,
         "Vcore max threshold : 2.01 v"},
        {"rails keep their leading blank", LimitItem::V12Upper, 50, true,
         " +12 V max threshold : 13.00 v"},
        {"+12 V counts the position twice", LimitItem::V12Lower, 100, true,
         " +12 V min threshold : 12.00 v"},
        {"3.306 prints as 3.31", LimitItem::V33Upper, 1, true, " 3.3 V max threshold : 3.31 v"},
        {"+5 V lower", LimitItem::V5Lower, 2, true, " +5 V min threshold : 4.02 v"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AdjusterHint(Item(c.item), c.position, c.celsius, 5000), c.text) << c.why;
}

TEST(AdjusterHint, SystemFanUpperStartsAtTheBoardsBase) {
    EXPECT_EQ(AdjusterHint(Item(LimitItem::SysFanUpper), 10, true, 4000),
              "System fan max threshold : 4700 rpm");
    EXPECT_EQ(AdjusterHint(Item(LimitItem::SysFanUpper), 10, true, 5000),
              "System fan max threshold : 5700 rpm");
}

TEST(AdjusterHint, NumbersIgnoreTheLocale) {
    const std::string old = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "no German locale here";
    const std::string text = AdjusterHint(Item(LimitItem::VcoreLower), 30, true, 5000);
    std::setlocale(LC_ALL, old.c_str());
    EXPECT_EQ(text, "Vcore min threshold : 0.80 v");
}

TEST(AdjusterHint, OutsideTheEighteenItemsThereIsNoText) {
    EXPECT_EQ(AdjusterHint(-1, 50, true, 5000), "");
    EXPECT_EQ(AdjusterHint(18, 50, true, 5000), "");
}

// What the hint says is the limit the tick then uses: whole degrees and rpm
// exactly; volts to the hint's two decimals (it rounds, the limit truncates
// to the millivolt), on a board with its own system fan base.
TEST(AdjusterHint, SaysTheLimitTheConversionGives) {
    BoardProfile board;
    board.SysFanUpperBase = 1234;
    for (int item = 0; item < kLimitCount; ++item) {
        for (int position : {0, 1, 37, 100}) {
            const std::string hint = AdjusterHint(item, position, true, board.SysFanUpperBase);
            const double said = std::strtod(hint.c_str() + hint.rfind(" : ") + 3, nullptr);
            const int32_t limit = LimitFromPosition(item, position, board);
            if (hint.ends_with(" v"))
                EXPECT_NEAR(said, limit / 1000.0, 0.0051) << hint;
            else
                EXPECT_EQ(said, limit) << hint;
        }
    }
}

TEST(AdjusterHint, OnlyAControlNamedNoneHasAPointerHint) {
    EXPECT_EQ(PointerHint("NONE"), "none");
    EXPECT_EQ(PointerHint("none"), "") << "names are case-sensitive";
    EXPECT_EQ(PointerHint(""), "");
    EXPECT_EQ(PointerHint("BUTTON_EXIT"), "");
}

} // namespace
} // namespace sentinax
