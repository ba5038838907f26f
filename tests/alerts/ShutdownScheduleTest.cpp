// Readings of logind's schedule while the monitor's power-off is pending, in
// order, and what each means: above all, nothing that may still power off is
// taken as cancelled, and nothing an administrator cancelled is overridden.
#include "alerts/ShutdownSchedule.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace sentinax {
namespace {

constexpr uint64_t kAt = 1'000'000'000; // the power-off's time, in microseconds
constexpr uint64_t kGrace = 15'000'000; // 15 s
const ScheduledShutdown kOurs{"poweroff", kAt};
const ScheduledShutdown kNone{"", 0};

struct Reading {
    std::optional<ScheduledShutdown> seen;
    uint64_t now;
    ScheduleVerdict verdict;
};

TEST(ShutdownScheduleWatch, ReadingsInOrder) {
    using V = ScheduleVerdict;
    struct Case {
        const char* why;
        std::vector<Reading> readings;
        bool withdrawableAfter; // at kAt - 1 s, after the readings
    };
    const Case cases[] = {
        {"pending until its time, then within the grace",
         {{kOurs, kAt - 20'000'000, V::Pending},
          {kOurs, kAt, V::Pending},
          {kOurs, kAt + kGrace, V::Pending}},
         true},
        {"still there past the grace: logind did not act",
         {{kOurs, kAt - 1, V::Pending}, {kOurs, kAt + kGrace + 1, V::Overdue}},
         true},
        {"cleared before its time: shutdown -c",
         {{kOurs, kAt - 5'000'000, V::Pending}, {kNone, kAt - 4'000'000, V::Cancelled}},
         false},
        {"seen at its time, then cleared: logind gave it up",
         {{kOurs, kAt + 200'000, V::Pending}, {kNone, kAt + 1'200'000, V::Failed}},
         false},
        {"last seen before its time, cleared after it: gone, a cancel or a failure",
         {{kOurs, kAt - 300'000, V::Pending}, {kNone, kAt + 700'000, V::Gone}},
         false},
        {"another time, or another kind: replaced",
         {{ScheduledShutdown{"poweroff", kAt + 300'000'000}, kAt - 9'000'000, V::Replaced}},
         false},
        {"a reboot in its place",
         {{ScheduledShutdown{"reboot", kAt}, kAt - 1, V::Replaced}},
         false},
        {"logind does not answer: pending, and overdue after the grace, never cancelled",
         {{std::nullopt, kAt - 10, V::Pending},
          {std::nullopt, kAt + kGrace, V::Pending},
          {std::nullopt, kAt + kGrace + 1, V::Overdue}},
         true},
        {"a clock far before the time (set back) stays pending",
         {{kOurs, 0, V::Pending}, {std::nullopt, 5, V::Pending}},
         true},
    };
    for (const Case& c : cases) {
        ShutdownScheduleWatch watch(kOurs, kGrace);
        for (size_t i = 0; i < c.readings.size(); ++i) {
            const Reading& r = c.readings[i];
            EXPECT_EQ(watch.Seen(r.seen, r.now), r.verdict) << c.why << ", reading " << i;
        }
        EXPECT_EQ(watch.Withdrawable(kAt - 1'000'000), c.withdrawableAfter) << c.why;
    }
    // Ours, seen at its time: the power-off is under way and is never withdrawn.
    ShutdownScheduleWatch due(kOurs, kGrace);
    EXPECT_TRUE(due.Withdrawable(kAt - 1));
    EXPECT_FALSE(due.Withdrawable(kAt));
}

} // namespace
} // namespace sentinax
