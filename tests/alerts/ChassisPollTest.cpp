#include "LogFolder.h"

#include "alerts/ChassisPoll.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace sentinax {
namespace {

constexpr uint32_t kSet = 1;
constexpr uint32_t kClear = 0;
const std::string kRecord = "03/25/2024 09:05:02 CHASSIS INTRUSION WARNING\r\n\r\n";

using testing::FixedTime;

class Chassis : public ::testing::Test {
protected:
    std::string Bytes() const { return folder_.Bytes(); }

    testing::LogFolder folder_;
    WarningLog log_{folder_.LogPath(), FixedTime};
    ChassisPoll poll_{log_};
};

TEST_F(Chassis, OnlyTheLowByteOfTheLatchCounts) {
    const struct {
        uint32_t latch;
        bool set;
    } cases[] = {
        {0x00000000, false}, {0x00000100, false}, {0xFFFFFF00, false},
        {0x00000001, true},  {0x00000080, true},  {0x00000101, true},
    };
    for (const auto& c : cases) {
        ChassisPoll poll(log_);
        poll.Poll(c.latch);
        EXPECT_EQ(poll.Counter(), c.set ? 1 : 0) << std::hex << c.latch;
    }
}

TEST_F(Chassis, SecondSightingLogsAndAsksForTheDialog) {
    EXPECT_FALSE(poll_.Poll(kSet));
    EXPECT_EQ(Bytes(), "");
    EXPECT_TRUE(poll_.Poll(kSet));
    EXPECT_EQ(poll_.Counter(), 2);
    EXPECT_EQ(Bytes(), kRecord);
}

TEST_F(Chassis, AClearLatchDoesNotResetTheCount) {
    poll_.Poll(kSet);
    for (int i = 0; i < 1000; ++i) {
        EXPECT_FALSE(poll_.Poll(kClear));
    }
    EXPECT_EQ(poll_.Counter(), 1);
    EXPECT_TRUE(poll_.Poll(kSet));
}

TEST_F(Chassis, NestedPollsDuringTheDialogOpenNoSecondOne) {
    poll_.Poll(kSet);
    ASSERT_TRUE(poll_.Poll(kSet));
    for (int i = 0; i < 10; ++i) {
        EXPECT_FALSE(poll_.Poll(kSet)) << "nested poll " << i;
    }
    EXPECT_EQ(poll_.Counter(), 12);
    EXPECT_EQ(Bytes(), kRecord);

    EXPECT_FALSE(poll_.DialogClosed(false));
    EXPECT_EQ(poll_.Counter(), 0);
}

TEST_F(Chassis, OnlyAnAcceptedDialogClearsTheLatch) {
    poll_.Poll(kSet);
    poll_.Poll(kSet);
    EXPECT_TRUE(poll_.DialogClosed(true));
    EXPECT_EQ(poll_.Counter(), 0);
}

TEST_F(Chassis, CancelledEveryTimeTheDialogReturnsEverySecondTick) {
    std::vector<int> dialogAt;
    for (int tick = 1; tick <= 6; ++tick) {
        if (poll_.Poll(kSet)) {
            dialogAt.push_back(tick);
            poll_.DialogClosed(false);
        }
    }
    EXPECT_EQ(dialogAt, (std::vector<int>{2, 4, 6}));
    EXPECT_EQ(Bytes(), kRecord + kRecord + kRecord);
}

TEST_F(Chassis, CounterWrapsAfter255) {
    std::vector<int> dialogAt;
    for (int n = 1; n <= 258; ++n) {
        if (poll_.Poll(kSet)) {
            dialogAt.push_back(n);
        }
        if (n == 256) {
            EXPECT_EQ(poll_.Counter(), 0);
        }
    }
    EXPECT_EQ(dialogAt, (std::vector<int>{2, 258}));
    EXPECT_EQ(log_.LogLineCount(), 2u);
}

// Without a window nobody answers: one opening is logged once, however long
// the latch stays set, and a new opening after a reset is logged again.
TEST_F(Chassis, UnansweredOpeningIsLoggedOncePerOpening) {
    poll_.Poll(kSet);
    ASSERT_TRUE(poll_.Poll(kSet));
    EXPECT_FALSE(poll_.DialogClosed(false));
    poll_.WaitForClear();
    for (int i = 0; i < 10; ++i)
        EXPECT_FALSE(poll_.Poll(kSet));
    EXPECT_EQ(Bytes(), kRecord);
    EXPECT_FALSE(poll_.Poll(kClear)); // reset with --clear-intrusion
    EXPECT_FALSE(poll_.Poll(kSet));
    EXPECT_TRUE(poll_.Poll(kSet));
    EXPECT_EQ(Bytes(), kRecord + kRecord);
}

} // namespace
} // namespace sentinax
