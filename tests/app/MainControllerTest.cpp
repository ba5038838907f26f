#include "ControllerDoubles.h"
#include "FakeHardware.h"
#include "LogFolder.h"
#include "ScratchFolder.h"

#include "app/MainController.h"

#include "alerts/AlarmSound.h"
#include "alerts/SharedSensorMemory.h"
#include "alerts/WindowFinder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <unistd.h>

namespace sentinax {
namespace {

using test::FakeHardware;
using namespace test;

class MainControllerTest : public ::testing::Test {
protected:
    void SetUp() override { hw().Reset(); }
    static FakeHardware& hw() { return FakeHardware::Instance(); }

    AppSettings settings;
    RecordingView view;
    RecordingTimers timers;
    FakePlatform platform;
    RecordingAdjusters adjusters;
    testing::LogFolder logs; // warnings of these ticks land here, not in the test's folder
    MainController controller{
        settings, -1, view, timers, adjusters, platform, CompanionPaths{}, logs.LogPath()};
};

TEST(SamplingPeriodTest, IntegerDivisionComesFirst) {
    EXPECT_EQ(SamplingPeriodMs(3, 2), 666);
    EXPECT_EQ(SamplingPeriodMs(3, 5), 1665);
    EXPECT_EQ(SamplingPeriodMs(10, 1), 100);
    EXPECT_EQ(SamplingPeriodMs(1, 3), 3000);
    EXPECT_EQ(SamplingPeriodMs(10, 30), 3000);
    // A skin may hold any interval; the timer must neither spin nor overflow.
    EXPECT_EQ(SamplingPeriodMs(1, 0), 1000);
    EXPECT_EQ(SamplingPeriodMs(3, -5), 333);
    EXPECT_EQ(SamplingPeriodMs(1, 2147483647), 1000 * kMaxIntervalSeconds);
}

TEST_F(MainControllerTest, StartUpRunsInOrderAndStartsTheTwoSecondTimer) {
    ASSERT_TRUE(controller.OnInitDialog());
    EXPECT_EQ(view.calls,
              (std::vector<std::string>{"SetIcons", "SetTitle Sentinax4", "LoadSkin Skins/Skin.ini",
                                        "LayoutControls", "CreateGraphs", "StartAnimation",
                                        "CreateTrayIcon"}));
    EXPECT_EQ(hw().Calls,
              (std::vector<std::string>{"LoadNTHMIO", "GetVid", "GetDMILength", "DetectLM78",
                                        "DetectLM75", "EnableSMSCHWMonitor", "ValueRAM"}));
    EXPECT_EQ(timers.running, (std::map<int, int>{{kSamplingTimer, 2000}}));
    EXPECT_TRUE(controller.WindowHidden()); // creating the tray icon marks it
}

TEST_F(MainControllerTest, MissingLibraryQuitsSilently) {
    platform.libraryPresent = false;
    EXPECT_FALSE(controller.OnInitDialog());
    EXPECT_EQ(view.postedQuit, 0);
    EXPECT_EQ(view.Count("ShowMessage"), 0);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"SetIcons", "PostQuit"}));
    EXPECT_TRUE(timers.running.empty());
    controller.OnDestroy(); // nothing to release, nothing called
    EXPECT_TRUE(hw().Calls.empty());
}

TEST_F(MainControllerTest, SilentChipShowsTheVersionMessageAndClosesAfterOneRetry) {
    hw().Lm78Answers = {0};
    EXPECT_FALSE(controller.OnInitDialog());
    EXPECT_EQ(platform.sleeps, std::vector<int>{2000});
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0],
              "Failed to load Hardware Monitor Driver!\nThis program must run as administrator.");
    EXPECT_EQ(view.calls.back(), "CloseWindow");
    EXPECT_EQ(view.Count("LayoutControls"), 0);
    EXPECT_TRUE(timers.running.empty());
    // The driver was set up, so the clean-up still releases it, once.
    controller.OnDestroy();
    controller.OnDestroy();
    EXPECT_EQ(hw().Count("UnloadNTHMIO"), 1);
}

TEST_F(MainControllerTest, OlderKernelGetsTheShortMessage) {
    hw().Lm78Answers = {0};
    platform.version = "5.10.0-28-amd64";
    controller.OnInitDialog();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0], "Failed to load Hardware Monitor Driver !");
}

TEST_F(MainControllerTest, FirstTickHidesAndSwitchesToTheSamplingPeriod) {
    settings.IntervalTime = 5;
    ASSERT_TRUE(controller.OnInitDialog());
    view.calls.clear();
    timers.log.clear();
    controller.OnTimer(kSamplingTimer);
    EXPECT_EQ(view.calls, std::vector<std::string>{"HideWindow"});
    EXPECT_EQ(timers.log, (std::vector<std::string>{"kill 1", "set 1 5000"}));
    // Later ticks neither hide nor re-arm.
    view.calls.clear();
    timers.log.clear();
    controller.OnTimer(kSamplingTimer);
    EXPECT_TRUE(view.calls.empty());
    EXPECT_TRUE(timers.log.empty());
}

TEST_F(MainControllerTest, TicksReadTheLibraryWithTheChipCommand) {
    ASSERT_TRUE(controller.OnInitDialog());
    hw().Calls.clear();
    hw().Lm75Inputs.clear();
    hw().ValueRamEntry7.clear();
    hw().RawSlots[0] = 1400;
    controller.OnTimer(kSamplingTimer);
    EXPECT_EQ(hw().Calls, (std::vector<std::string>{"DetectLM75", "ValueRAM"}));
    EXPECT_EQ(hw().ValueRamEntry7, std::vector<int32_t>{0});
    const HmSharedFields published = UnpackSharedBlock(platform.Published());
    EXPECT_EQ(published.Vcore, 1400);
    EXPECT_EQ(published.CpuTemp, 45);
}

// A silent CPU temperature source no longer stops the monitoring: the other
// values are read on every tick, the CPU temperature is looked for again
// later (every 30 s) and shows N A meanwhile.
TEST_F(MainControllerTest, TicksWithoutCpuTemperatureStillReadTheRest) {
    settings.IntervalTime = 3;
    hw().Lm75Answers = {0};
    ASSERT_TRUE(controller.OnInitDialog());
    hw().Calls.clear();
    for (int i = 0; i < 3; ++i)
        controller.OnTimer(kSamplingTimer);
    EXPECT_EQ(hw().Calls, (std::vector<std::string>{"DetectLM75", "ValueRAM", "DetectLM75",
                                                    "ValueRAM", "DetectLM75", "ValueRAM"}));
    EXPECT_EQ(UnpackSharedBlock(platform.Published()).Vcore, 1350);
    EXPECT_EQ(view.texts[static_cast<int>(ReadoutItem::CpuTemp)], "N A");
}

TEST_F(MainControllerTest, SuspendAndAutomaticResumeRestartSamplingAfterOneSecond) {
    settings.IntervalTime = 2;
    ASSERT_TRUE(controller.OnInitDialog());
    controller.OnTimer(kSamplingTimer);
    hw().Calls.clear();
    timers.log.clear();

    EXPECT_TRUE(controller.OnPowerBroadcast(PowerEvent::SuspendQuery));
    EXPECT_EQ(timers.running.count(kSamplingTimer), 0u);

    EXPECT_TRUE(controller.OnPowerBroadcast(PowerEvent::ResumeAutomatic));
    EXPECT_EQ(timers.running[kResumeTimer], 1000);
    EXPECT_EQ(hw().Calls, std::vector<std::string>{"DetectLM78"});

    hw().Calls.clear();
    controller.OnTimer(kResumeTimer); // restart only: nothing read
    EXPECT_TRUE(hw().Calls.empty());
    EXPECT_EQ(timers.running.count(kResumeTimer), 0u);
    EXPECT_EQ(timers.running[kSamplingTimer], 2000);

    controller.OnTimer(kSamplingTimer); // re-enable the chip, then read
    EXPECT_EQ(hw().Calls, (std::vector<std::string>{"EnableSMSCHWMonitor", "ApEnableATIISA",
                                                    "DetectLM75", "ValueRAM"}));
    hw().Calls.clear();
    controller.OnTimer(kSamplingTimer); // the chip is enabled once
    EXPECT_EQ(hw().Calls, (std::vector<std::string>{"DetectLM75", "ValueRAM"}));
}

TEST_F(MainControllerTest, ResumeWithoutSuspendQueryStartsNothing) {
    ASSERT_TRUE(controller.OnInitDialog());
    timers.log.clear();
    EXPECT_TRUE(controller.OnPowerBroadcast(PowerEvent::ResumeSuspend));
    EXPECT_TRUE(timers.log.empty());
    EXPECT_TRUE(controller.OnPowerBroadcast(PowerEvent::SuspendQuery));
    EXPECT_TRUE(controller.OnPowerBroadcast(PowerEvent::ResumeSuspend));
    EXPECT_EQ(timers.running[kResumeTimer], 1000);
    EXPECT_TRUE(controller.OnPowerBroadcast(static_cast<PowerEvent>(42)));
}

TEST_F(MainControllerTest, CleanUpRunsOnceHoweverOftenItIsAsked) {
    ASSERT_TRUE(controller.OnInitDialog());
    controller.OnTimer(kSamplingTimer);
    EXPECT_TRUE(controller.OnQueryEndSession());
    controller.OnDestroy();
    controller.OnDestroy();
    EXPECT_EQ(hw().Count("UnloadNTHMIO"), 1);
    EXPECT_EQ(view.Count("DeleteTrayIcon"), 1);
    EXPECT_EQ(timers.running.count(kSamplingTimer), 0u);
}

TEST_F(MainControllerTest, DriverNotLoadedIsNeverUnloaded) {
    hw().LoadResult = 0;
    ASSERT_TRUE(controller.OnInitDialog());
    controller.OnDestroy();
    EXPECT_EQ(hw().Count("UnloadNTHMIO"), 0);
}

TEST_F(MainControllerTest, WithoutATrayTheWindowIsNotMarkedHidden) {
    view.trayAvailable = false;
    ASSERT_TRUE(controller.OnInitDialog());
    EXPECT_FALSE(controller.WindowHidden());
    controller.OnDestroy();
    EXPECT_EQ(view.Count("DeleteTrayIcon"), 0);
}

} // namespace
} // namespace sentinax

namespace sentinax {
namespace {

// The clean-up writes the settings changed during the run into the skin file
// in the working folder, once.
TEST_F(MainControllerTest, CleanUpSavesChangedSettingsIntoTheSkinOnce) {
    const test::ScratchFolder scratch("sx-ctl");
    const std::string dir = scratch.Path().string();
    std::filesystem::create_directories(dir + "/Skins");
    {
        std::ofstream skin(dir + "/Skins/Skin.ini");
        skin << "; hand-written\r\n[Screen]\r\nIntervalTime=3\r\nSoundWarning=1\r\n";
    }
    const test::InFolder inDir(dir);
    ASSERT_TRUE(controller.OnInitDialog());
    settings.IntervalTime = 7;
    settings.SoundWarning = 0;
    settings.ScreenSettingsChanged = true;
    controller.OnDestroy();
    EXPECT_EQ(test::ReadFile(dir + "/Skins/Skin.ini"),
              "; hand-written\r\n[Screen]\r\nIntervalTime=7\r\nSoundWarning=0\r\n");
    // A second clean-up (the session ending, then the window going) writes nothing.
    std::filesystem::remove(dir + "/Skins/Skin.ini");
    controller.OnDestroy();
    EXPECT_FALSE(std::filesystem::exists(dir + "/Skins/Skin.ini"));
}

} // namespace
} // namespace sentinax
