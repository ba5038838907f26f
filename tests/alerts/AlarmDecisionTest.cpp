#include "alerts/AlarmDecision.h"

#include <gtest/gtest.h>

namespace sentinax {
namespace {

TEST(AlarmDecision, FollowsWarningsAndTheSoundSetting) {
    struct Case {
        bool anyWarning;
        int soundWarning;
        AlarmAction expected;
    };
    const Case cases[] = {
        {false, 0, AlarmAction::StopSound},
        {false, 1, AlarmAction::StopSound}, // all back in range: silence, window left alone
        {true, 1, AlarmAction::ShowAndPlay},
        {true, -1, AlarmAction::ShowAndPlay}, // any non-zero setting means sound on
        {true, 2, AlarmAction::ShowAndPlay},
        {true, 0, AlarmAction::ShowAndStop}, // window still comes up, no sound
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecideAlarm(c.anyWarning, c.soundWarning), c.expected)
            << "warning " << c.anyWarning << ", SoundWarning " << c.soundWarning;
    }
}

} // namespace
} // namespace sentinax
