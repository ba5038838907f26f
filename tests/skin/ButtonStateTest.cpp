#include "skin/ButtonState.h"

#include <gtest/gtest.h>

namespace sentinax {
namespace {

TEST(ButtonState, FourStateRuleFirstMatchWins) {
    struct Case {
        const char* why;
        bool staticFace, pressed, hover, disabled;
        ButtonFace face;
    } cases[] = {
        {"a static face ignores everything", true, true, true, true, ButtonFace::Normal},
        {"pressed beats hover and disabled", false, true, true, true, ButtonFace::Down},
        {"hover beats disabled", false, false, true, true, ButtonFace::Over},
        {"disabled", false, false, false, true, ButtonFace::Disabled},
        {"at rest", false, false, false, false, ButtonFace::Normal},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SelectButtonFace(c.staticFace, c.pressed, c.hover, c.disabled), c.face) << c.why;
}

TEST(ButtonState, HoverFollowsThePointerOnlyWhileWeAreActive) {
    struct Case {
        const char* why;
        bool hover, inside, leftHeld, active;
        bool lit;
    } cases[] = {
        {"pointer arrives, program active", false, true, false, true, true},
        {"another program is active", false, true, false, false, false},
        {"a drag entering the button", false, true, true, true, false},
        {"a press on the lit button keeps it", true, true, true, true, true},
        {"lit stays lit when activity is lost mid-move", true, true, false, false, true},
        {"pointer over something else", true, false, false, true, false},
        {"dragged out of the button", true, false, true, true, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HoverAfterMove(c.hover, c.inside, c.leftHeld, c.active), c.lit) << c.why;
}

TEST(ButtonState, ReleaseCountsOnlyInsideTheClientRectangle) {
    EXPECT_TRUE(ReleaseIsClick(22, 20, 0, 0));
    EXPECT_TRUE(ReleaseIsClick(22, 20, 21, 19));
    EXPECT_FALSE(ReleaseIsClick(22, 20, 22, 5)) << "right edge is outside";
    EXPECT_FALSE(ReleaseIsClick(22, 20, 5, 20)) << "bottom edge is outside";
    EXPECT_FALSE(ReleaseIsClick(22, 20, -1, 5));
}

} // namespace
} // namespace sentinax
