#include "alerts/CpuRating.h"
#include "alerts/OverTemperatureGuard.h"

#include <gtest/gtest.h>

#include <vector>

namespace sentinax {
namespace {

// What the table gives a CPU, and why.
TEST(CpuRatingTable, RatesDesktopPartsByFamilyAndModel) {
    struct Case {
        const char* vendor;
        int family;
        const char* name;
        int32_t rating;
        const char* why;
    };
    const Case cases[] = {
        {"AuthenticAMD", 25, "AMD Ryzen 9 7950X 16-Core Processor", 95, "Zen 4 desktop"},
        {"AuthenticAMD", 25, "AMD Ryzen 5 7600 6-Core Processor", 95, "Zen 4 without suffix"},
        {"AuthenticAMD", 25, "AMD Ryzen 7 8700G w/ Radeon 780M Graphics", 95, "Zen 4 APU"},
        {"AuthenticAMD", 25, "AMD Ryzen 9 5950X 16-Core Processor", 90, "listed Zen 3 part"},
        {"AuthenticAMD", 25, "AMD Ryzen 7 5800X 8-Core Processor", 90, "listed Zen 3 part"},
        {"AuthenticAMD", 25, "AMD Ryzen 7 5800X3D 8-Core Processor", 95,
         "not the 5800X: the series' highest"},
        {"AuthenticAMD", 25, "AMD Ryzen 5 5600X 6-Core Processor", 95, "Zen 3 at 95"},
        {"AuthenticAMD", 25, "AMD Ryzen 7 PRO 5750G with Radeon Graphics", 95, "PRO desktop APU"},
        {"AuthenticAMD", 23, "AMD Ryzen 9 3950X 16-Core Processor", 95, "Zen 2 desktop"},
        {"AuthenticAMD", 23, "AMD Ryzen 7 2700X Eight-Core Processor", 85, "its own fused limit"},
        {"AuthenticAMD", 23, "AMD Ryzen 7 2700 Eight-Core Processor", 95, "not the X part"},
        {"AuthenticAMD", 23, "AMD Ryzen 7 1800X Eight-Core Processor", 95, "first Zen (Tdie)"},
        {"AuthenticAMD", 23, "AMD Ryzen 5 1600AF Six-Core Processor", 95, "first Zen, AF"},
        {"AuthenticAMD", 26, "AMD Ryzen 9 9950X 16-Core Processor", 95, "Zen 5 desktop"},
        {"GenuineIntel", 6, "13th Gen Intel(R) Core(TM) i9-13900K", 100, "Intel without crit"},
        {"GenuineIntel", 6, "", 100, "Intel, name unreadable"},
        // No rating: the table does not know these.
        {"AuthenticAMD", 25, "AMD Ryzen 7 5800H with Radeon Graphics", 0, "mobile H"},
        {"AuthenticAMD", 25, "AMD Ryzen 9 7945HX with Radeon Graphics", 0, "mobile HX"},
        {"AuthenticAMD", 23, "AMD Ryzen 7 4800U with Radeon Graphics", 0, "mobile U"},
        {"AuthenticAMD", 26, "AMD Ryzen AI 9 HX 370 w/ Radeon 890M", 0, "Ryzen AI"},
        {"AuthenticAMD", 23, "AMD Ryzen Threadripper 1950X 16-Core Processor", 0, "Threadripper"},
        {"AuthenticAMD", 25, "AMD EPYC 7763 64-Core Processor", 0, "server part"},
        {"AuthenticAMD", 23, "AMD Ryzen 9 7950X 16-Core Processor", 0, "family does not fit"},
        {"AuthenticAMD", 25, "AMD Ryzen 9 79500X", 0, "five digits"},
        {"AuthenticAMD", 21, "AMD FX(tm)-8350 Eight-Core Processor", 0, "pre-Zen"},
        {"HygonGenuine", 24, "Hygon C86 3185", 0, "other vendor"},
        {"", -1, "", 0, "nothing known"},
    };
    for (const Case& c : cases) {
        const CpuRating rating = RatingFromTable({c.vendor, c.family, 1, c.name});
        EXPECT_EQ(rating.Celsius, c.rating) << c.name << " (" << c.why << ")";
        EXPECT_EQ(rating.Known(), c.rating > 0) << c.name;
        EXPECT_EQ(rating.Source, c.rating > 0 ? RatingSource::Table : RatingSource::None) << c.name;
    }
}

// The kernel's critical limit wins over the table when it is believable.
TEST(CpuRatingDecision, PlausibleCritWinsOverTheTable) {
    const CpuRating zen4{95, RatingSource::Table, "AMD Ryzen 7000 desktop (Zen 4)"};
    struct Case {
        int32_t crit;
        int32_t rating;
        RatingSource source;
        const char* why;
    };
    const Case cases[] = {
        {100, 100, RatingSource::SensorCrit, "coretemp's TjMax"},
        {105, 105, RatingSource::SensorCrit, "a higher limit from the kernel"},
        {50, 50, RatingSource::SensorCrit, "the lowest believable"},
        {150, 150, RatingSource::SensorCrit, "the highest believable"},
        {0, 95, RatingSource::Table, "absent"},
        {-40, 95, RatingSource::Table, "negative"},
        {49, 95, RatingSource::Table, "too low for a CPU"},
        {151, 95, RatingSource::Table, "absurd"},
        {255000, 95, RatingSource::Table, "millidegrees by mistake"},
    };
    for (const Case& c : cases) {
        const CpuRating rating = DecideCpuRating(c.crit, zen4);
        EXPECT_EQ(rating.Celsius, c.rating) << c.why;
        EXPECT_EQ(rating.Source, c.source) << c.why;
    }
    EXPECT_FALSE(DecideCpuRating(200, CpuRating{}).Known()) << "absurd crit, unknown CPU";
}

// One evaluation of the CPU temperature as the guard sees it.
struct Step {
    bool reachedThree;
    bool warning;
    int32_t celsius;
    bool starts;
};

void Play(OverTemperatureGuard& guard, const std::vector<Step>& steps, const char* what) {
    for (size_t i = 0; i < steps.size(); ++i) {
        const Step& s = steps[i];
        EXPECT_EQ(guard.AfterEvaluation(s.reachedThree, s.warning, s.celsius), s.starts)
            << what << ", evaluation " << i + 1;
        if (s.starts)
            guard.Ended(); // cancelled at once
    }
}

TEST(OverTemperatureGuard, CountdownWaitsForTheRating) {
    OverTemperatureGuard guard;
    guard.SetRating({95, RatingSource::Table, "Zen 4"});
    Play(guard,
         {{false, false, 96, false},
          {false, false, 96, false},
          {true, true, 108, true}, // hot start: at the third evaluation
          {false, true, 108, false}},
         "above the rating from the start");

    guard = {};
    guard.SetRating({95, RatingSource::Table, "Zen 4"});
    Play(guard,
         {{true, true, 92, false},  // warns at the user's limit, below the rating
          {false, true, 95, false}, // at the rating is within it
          {false, true, 96, true},  // climbs past it in the same episode
          {false, true, 97, false}, // once per episode
          {false, false, 80, false},
          {false, false, 96, false},
          {false, false, 96, false},
          {true, true, 96, true}}, // a new episode
         "climbing past the rating");

    guard = {};
    guard.SetRating({95, RatingSource::Table, "Zen 4"});
    Play(guard, {{true, true, 92, false}, {false, false, 70, false}, {false, true, 99, false}},
         "an episode that ended is not armed any more");

    guard = {};
    guard.SetRating({100, RatingSource::SensorCrit, "crit"});
    Play(guard, {{true, true, 10, false}, {false, true, 5, false}}, "too cold never powers off");
}

TEST(OverTemperatureGuard, WithoutRatingTheThirdEvaluationStartsIt) {
    OverTemperatureGuard guard;
    Play(guard,
         {{false, false, 80, false},
          {true, true, 80, true},
          {false, true, 80, false},
          {true, true, 10, true}}, // the wrapped counter at 3 again; too cold counts too
         "no rating");
}

TEST(OverTemperatureGuard, OpenCountdownIsCalledOffWithinTheRating) {
    OverTemperatureGuard guard;
    guard.SetRating({100, RatingSource::SensorCrit, "crit"});
    ASSERT_TRUE(guard.AfterEvaluation(true, true, 104));
    EXPECT_TRUE(guard.CountdownOpen());
    // Nested evaluations while it runs open nothing more.
    EXPECT_FALSE(guard.AfterEvaluation(true, true, 104));
    EXPECT_FALSE(guard.CallOff(101));
    EXPECT_TRUE(guard.CallOff(100));
    guard.Ended();
    EXPECT_FALSE(guard.CallOff(90)) << "nothing to call off once it ended";

    OverTemperatureGuard noRating;
    ASSERT_TRUE(noRating.AfterEvaluation(true, true, 80));
    EXPECT_FALSE(noRating.CallOff(20)) << "without a rating the countdown runs to its end";
}

} // namespace
} // namespace sentinax
