// Which standing message the hint line falls back to, and which ones go when
// the user acts.
#include "skin/HintLine.h"

#include <gtest/gtest.h>

namespace sentinax {
namespace {

TEST(HintLine, TheMostImportantStandingMessageShowsWhenNothingElseDoes) {
    HintLine line;
    EXPECT_EQ(line.ForPointer(""), "");
    line.Set(StandingHint::NoTray, "tray");
    line.Set(StandingHint::TitleWatch, "titles");
    EXPECT_EQ(line.ForPointer(""), "titles");
    line.Set(StandingHint::SkinSettings, "skin");
    EXPECT_EQ(line.ForPointer(""), "skin");
    EXPECT_EQ(line.ForPointer("none"), "none") << "a control's own hint comes first";

    line.UserActed();
    EXPECT_EQ(line.ForPointer(""), "tray") << "the tray's message waits for a tray, not the user";
    line.Clear(StandingHint::NoTray);
    EXPECT_EQ(line.ForPointer(""), "");
    line.Clear(StandingHint::NoTray);
    EXPECT_EQ(line.ForPointer(""), "") << "clearing twice is harmless";
}

} // namespace
} // namespace sentinax
