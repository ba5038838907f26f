// Whole ticks of the over-temperature protection on a double of the hardware
// library: when the countdown comes and when it does not, for CPUs rated by the
// kernel's critical limit, by the table or not at all; a hot start; a missing
// CPU temperature; the end of the program during a countdown.
#include "TickFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <sstream>

namespace sentinax {
namespace {

using namespace test;

const char* const kZen4 = "processor\t: 0\nvendor_id\t: AuthenticAMD\ncpu family\t: 25\n"
                          "model\t\t: 97\nmodel name\t: AMD Ryzen 9 7950X 16-Core Processor\n";
const char* const kIntel = "processor\t: 0\nvendor_id\t: GenuineIntel\ncpu family\t: 6\n"
                           "model\t\t: 183\nmodel name\t: 13th Gen Intel(R) Core(TM) i9-13900K\n";

// The CPU as /proc/cpuinfo names its first processor, whatever else the file
// holds; broken text gives an unknown CPU, which the table does not rate.
TEST(IdentifyCpu, TakesTheFirstProcessorAndSurvivesBrokenText) {
    const std::string two = std::string(kZen4) + "flags\t\t: fpu vme\n\nprocessor\t: 1\n"
                                                 "vendor_id\t: Other\nmodel name\t: Second\n";
    const CpuIdentity cpu = IdentifyCpu(two);
    EXPECT_EQ(cpu.Vendor, "AuthenticAMD");
    EXPECT_EQ(cpu.Family, 25);
    EXPECT_EQ(cpu.Model, 97);
    EXPECT_EQ(cpu.ModelName, "AMD Ryzen 9 7950X 16-Core Processor");
    EXPECT_EQ(RatingFromTable(cpu).Celsius, 95);

    for (const char* text :
         {"", "\n\n\n", "garbage without colons", "processor\t: 0\ncpu family : x25\nmodel :\n",
          "processor\t: 0\ncpu family\t: -3\nmodel\t: 99999999999999999999\n"}) {
        const CpuIdentity broken = IdentifyCpu(text);
        EXPECT_EQ(broken.Family, -1) << text;
        EXPECT_EQ(broken.Model, -1) << text;
        EXPECT_EQ(RatingFromTable(broken).Celsius, 0) << text;
    }
}

class CpuProtectionTickTest : public TickFixture {
protected:
    // Starts on the demo board with every limit wide except the CPU's upper
    // one; the start-up tick is the first evaluation.
    void Start(int32_t cpuUpper) {
        Open("KX-4100 Demo", LimitsSet::Wide, sink);
        if (HasFatalFailure())
            return;
        Thresholds& l = controller->Limits();
        l.cpuTempUpper = cpuUpper;
        l.cpuTempLower = 0;
        view.calls.clear();
        tick();
    }
    int dialogs() const { return view.Count("RunOverTemperatureDialog"); }
    bool reported(const std::string& part) const {
        for (const std::string& r : platform.reports) {
            if (r.find(part) != std::string::npos)
                return true;
        }
        return false;
    }

    ReadingSink* sink = nullptr; // handed to the controller by Start
};

struct RecordingSink : ReadingSink {
    std::vector<ReadingSnapshot> published;
    void Publish(const ReadingSnapshot& s) override { published.push_back(s); }
};

int64_t NowSeconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// Each case runs 12 evaluations at one temperature with the user's limit at
// 75 °C: the warning always comes; the countdown only above the rating.
TEST_F(CpuProtectionTickTest, CountdownOnlyAboveTheCpusRating) {
    struct Case {
        const char* cpu;
        int32_t crit;
        uint8_t celsius;
        bool countdown;
        const char* why;
    };
    const Case cases[] = {
        {kZen4, 0, 92, false, "Zen 4 at full load, rated 95 by the table"},
        {kZen4, 0, 95, false, "Zen 4 at its rating"},
        {kZen4, 0, 96, true, "Zen 4 past its rating"},
        {kIntel, 100, 95, false, "Intel package at 95, crit 100"},
        {kIntel, 100, 100, false, "Intel at its crit"},
        {kIntel, 100, 104, true, "Intel at 104, crit 100"},
        {kIntel, 0, 100, false, "Intel without crit: the usual 100"},
        {kZen4, 105, 100, false, "a plausible crit beats the table"},
        {kZen4, 200, 96, true, "an absurd crit is not a rating: the table's 95"},
        {"", 0, 80, true, "unknown CPU, no crit: as it always was"},
        {"", -5, 80, true, "a negative crit is none"},
    };
    for (const Case& c : cases) {
        platform.cpuInfo = c.cpu;
        platform.powerOffs = 0;
        hw().Status.CpuTempCrit = c.crit;
        hw().Lm75Bytes = {{0, c.celsius}};
        view.acceptDialogs = true;
        Start(75);
        ticks(11);
        EXPECT_NE(log().find("CPU Temperature WARNING : " + std::to_string(c.celsius)),
                  std::string::npos)
            << c.why;
        EXPECT_EQ(dialogs(), c.countdown ? 1 : 0) << c.why;
        EXPECT_EQ(platform.powerOffs, c.countdown ? 1 : 0) << c.why;
        controller->OnDestroy();
        TearDown();
        SetUp();
    }
}

// Below the rating at first, past it later in the same episode: the countdown
// comes when it passes, once.
TEST_F(CpuProtectionTickTest, ClimbingPastTheRatingStartsTheCountdownThen) {
    platform.cpuInfo = kZen4;
    hw().Lm75Bytes = {{0, 92}};
    Start(75);
    ticks(5);
    EXPECT_EQ(dialogs(), 0);
    EXPECT_TRUE(reported("waits for the CPU to pass 95 °C"));
    hw().Lm75Bytes = {{0, 97}};
    ticks(4);
    EXPECT_EQ(dialogs(), 1);
    EXPECT_EQ(platform.powerOffs, 0) << "cancelled";
    // The warning episode goes on: no second countdown until it ends.
    hw().Lm75Bytes = {{0, 92}};
    tick();
    hw().Lm75Bytes = {{0, 99}};
    ticks(3);
    EXPECT_EQ(dialogs(), 1);
}

// A CPU already at 108 °C when the monitor starts is read, warned about and
// protected: the start-up test no longer takes it for a missing sensor.
TEST_F(CpuProtectionTickTest, HotStartIsWatchedAndProtected) {
    platform.cpuInfo = kZen4;
    hw().Lm75Bytes = {{0, 108}};
    view.acceptDialogs = true;
    Start(101);
    EXPECT_EQ(view.texts[static_cast<int>(ReadoutItem::CpuTemp)], "108 .C");
    ticks(2);
    EXPECT_NE(log().find("CPU Temperature WARNING : 108 degrees"), std::string::npos);
    EXPECT_EQ(dialogs(), 1);
    EXPECT_EQ(platform.powerOffs, 1);
}

// The CPU cools back within its rating while the countdown runs (nested
// ticks): the countdown is called off and nothing is powered off.
TEST_F(CpuProtectionTickTest, CountdownIsCalledOffWhenTheCpuIsBackWithinItsRating) {
    platform.cpuInfo = kIntel;
    hw().Status.CpuTempCrit = 100;
    hw().Lm75Bytes = {{0, 104}};
    view.acceptDialogs = true;
    LastSnapshot readings;
    view.onDialog = [&] {
        tick(); // still hot: the countdown goes on
        EXPECT_EQ(view.Count("EndOverTemperatureDialog"), 0);
        hw().Lm75Bytes = {{0, 99}};
        tick();
    };
    Start(90);
    controller->AddSink(&readings);
    ticks(2);
    EXPECT_EQ(dialogs(), 1);
    EXPECT_EQ(view.Count("EndOverTemperatureDialog"), 1);
    EXPECT_EQ(platform.powerOffs, 0);
    EXPECT_TRUE(reported("back at 99 °C, within its rated maximum of 100 °C"));
    ASSERT_GT(readings.count, 0);
    EXPECT_FALSE(readings.last.PowerOffCountdown) << "the countdown is over once it returned";
}

// The exported readings say that the countdown runs: at once when it starts
// (before the dialog's first second), on every evaluation nested in it, and no
// more once it was cancelled; each with the time of its evaluation.
TEST_F(CpuProtectionTickTest, ExportedReadingsSayWhileTheCountdownRuns) {
    RecordingSink readings;
    sink = &readings;
    platform.cpuInfo = kIntel;
    hw().Status.CpuTempCrit = 100;
    hw().Lm75Bytes = {{0, 104}};
    size_t atStart = 0;
    view.onDialog = [&] {
        atStart = readings.published.size();
        ticks(2);
    };
    const int64_t before = NowSeconds();
    Start(90);
    ticks(2);
    ASSERT_EQ(dialogs(), 1);
    // Two evaluations, the third at the start of the countdown, two nested in
    // it, and the rest of the tick that opened it.
    std::vector<bool> countdown;
    for (const ReadingSnapshot& s : readings.published) {
        countdown.push_back(s.PowerOffCountdown);
        EXPECT_GE(s.EvaluatedAt, before);
        EXPECT_LE(s.EvaluatedAt, NowSeconds());
        EXPECT_EQ(s.Items[static_cast<int>(ReadoutItem::CpuTemp)].Value, 104);
    }
    EXPECT_EQ(countdown, (std::vector<bool>{false, false, true, true, true, false}));
    EXPECT_EQ(atStart, 3u) << "published before the countdown waits for anything";
    EXPECT_TRUE(readings.published[2].Items[static_cast<int>(ReadoutItem::CpuTemp)].Warning);
    tick();
    EXPECT_FALSE(readings.published.back().PowerOffCountdown) << "cancelled: no countdown";
}

// Without a rating the countdown runs to its end as before.
TEST_F(CpuProtectionTickTest, WithoutARatingACoolerCpuDoesNotCallItOff) {
    hw().Lm75Bytes = {{0, 80}};
    view.acceptDialogs = true;
    view.onDialog = [&] {
        hw().Lm75Bytes = {{0, 60}};
        tick();
    };
    Start(75);
    ticks(2);
    EXPECT_EQ(view.Count("EndOverTemperatureDialog"), 0);
    EXPECT_EQ(platform.powerOffs, 1);
    EXPECT_TRUE(platform.reports.empty()) << "nothing to say about an unknown CPU";
}

// A CPU temperature that is not there at start-up: said once, shown as N A,
// never evaluated; every other item is read and evaluated meanwhile; it is
// looked for again every 30 s and watched once it answers.
TEST_F(CpuProtectionTickTest, MissingCpuTemperatureIsLookedForAgainAndTheRestIsWatched) {
    hw().Lm75Bytes = {}; // the source answers but writes nothing: 0xC9 stays
    hw().RawSlots[9] = 300;
    Start(75);
    controller->Limits().sysFanLower = 1000;
    EXPECT_TRUE(reported("no CPU temperature"));
    EXPECT_EQ(view.texts[static_cast<int>(ReadoutItem::CpuTemp)], "N A");
    EXPECT_EQ(view.texts[static_cast<int>(ReadoutItem::Vcore)], "1.35");
    ticks(3);
    EXPECT_NE(log().find("SYS FAN SPEED WARNING : 300 rpm"), std::string::npos);
    EXPECT_EQ(log().find("CPU Temperature"), std::string::npos);
    EXPECT_EQ(UnpackSharedBlock(platform.Published()).CpuTemp, 0) << "no unwritten byte as a value";

    // The sensor answers now, but is only taken at the next look, 30 s after start.
    hw().Lm75Bytes = {{0, 50}};
    const size_t reports = platform.reports.size();
    ticks(5); // 9 ticks of 3 s
    EXPECT_EQ(view.texts[static_cast<int>(ReadoutItem::CpuTemp)], "N A");
    EXPECT_EQ(platform.reports.size(), reports);
    tick(); // 30 s
    EXPECT_TRUE(reported("answers now (50 °C)"));
    EXPECT_EQ(view.texts[static_cast<int>(ReadoutItem::CpuTemp)], "50 .C");
    hw().Lm75Bytes = {{0, 80}};
    ticks(3);
    EXPECT_NE(log().find("CPU Temperature WARNING : 80 degrees"), std::string::npos);
    EXPECT_EQ(dialogs(), 1) << "protected again";
}

// The program is asked to end while the countdown is open: the dialog returns
// (as cancelled or not), nothing is powered off, and nothing of the tick runs
// after it; later timer messages do nothing.
TEST_F(CpuProtectionTickTest, EndingDuringTheCountdownPowersNothingOff) {
    hw().Lm75Bytes = {{0, 90}};
    view.acceptDialogs = true;
    view.onDialog = [&] { controller->OnDestroy(); };
    Start(75);
    ticks(2);
    ASSERT_EQ(dialogs(), 1);
    EXPECT_EQ(platform.powerOffs, 0);
    EXPECT_EQ(view.Count("ShowForWarning"), 0) << "the tick stopped after the dialog";
    EXPECT_EQ(std::count(platform.sound.log.begin(), platform.sound.log.end(), "start SOUND.wav"),
              0);
    const int reads = hw().Count("ValueRAM");
    ticks(3);
    EXPECT_EQ(hw().Count("ValueRAM"), reads);
}

// The clean-up for a lost display: settings, library, shared block and the
// exit helper, but nothing of the window (no timers, tray or sound touched).
TEST_F(CpuProtectionTickTest, CleanUpWithoutDisplayLeavesTheWindowAlone) {
    Start(75);
    controller->MarkCoolingToolStarted();
    timers.log.clear();
    view.calls.clear();
    platform.sound.log.clear();
    ASSERT_TRUE(platform.shared.Ready());
    controller->CleanUpWithoutDisplay();
    EXPECT_TRUE(timers.log.empty());
    EXPECT_TRUE(view.calls.empty());
    EXPECT_TRUE(platform.sound.log.empty());
    EXPECT_FALSE(platform.shared.Ready());
    EXPECT_EQ(hw().Count("UnloadNTHMIO"), 1);
    EXPECT_EQ(platform.programs.started, std::vector<std::string>{"cooling helper"});
    controller->OnDestroy(); // the ordinary clean-up afterwards adds nothing of its own
    EXPECT_EQ(hw().Count("UnloadNTHMIO"), 1);
    EXPECT_EQ(platform.programs.started.size(), 1u);
}

} // namespace
} // namespace sentinax
