// Whole ticks of the main window's logic on a double of the hardware library:
// sampling, conversion, display, evaluation, log, alarm, dialogs and the
// shared block, as a user of the monitor would see them.
#include "TickFixture.h"

#include "alerts/HmSharedBlock.h"
#include "hardware/LibraryStatus.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sstream>
#include <sys/mman.h>

namespace sentinax {
namespace {

using namespace test;

class MonitorTickTest : public TickFixture {
protected:
    // Starts the window on a board of this product with these table rows;
    // nothing warns unless a test narrows a limit.
    void Start(const std::string& product = "KX-4100 Demo", const std::string& rows = "") {
        std::istringstream in(rows);
        std::ostringstream errors;
        ParseBoardTable(in, "test.table", platform.table, errors);
        ASSERT_EQ(errors.str(), "");
        Open(product, LimitsSet::Wide);
        if (HasFatalFailure())
            return;
        view.calls.clear();
        tick(); // the start-up tick
    }
    std::vector<double>& points(ReadoutItem item) { return view.points[static_cast<int>(item)]; }
    HmSharedBlock block() {
        HmSharedBlock b{};
        const std::string name = "/sx-test-hmshared-" + std::to_string(getpid());
        const int fd = shm_open(name.c_str(), O_RDONLY, 0);
        EXPECT_GE(fd, 0);
        if (fd >= 0) {
            EXPECT_EQ(pread(fd, b.data(), b.size(), 0), static_cast<ssize_t>(b.size()));
            close(fd);
        }
        return b;
    }
};

TEST_F(MonitorTickTest, DemoBoardShowsEveryItem) {
    Start();
    EXPECT_EQ(text(ReadoutItem::Vcore), "1.35");
    EXPECT_EQ(text(ReadoutItem::CpuTemp), "45 .C");
    EXPECT_EQ(text(ReadoutItem::SysTemp), "35  .C");
    EXPECT_EQ(text(ReadoutItem::V33), "3.30");
    EXPECT_EQ(text(ReadoutItem::V5), "5.00");
    EXPECT_EQ(text(ReadoutItem::V12), "12.00"); // slot 4 is taken as read
    EXPECT_EQ(text(ReadoutItem::CpuFan), "2700");
    EXPECT_EQ(text(ReadoutItem::SysFan), "1800");
    EXPECT_EQ(text(ReadoutItem::PowerFan), "2100");
    EXPECT_EQ(view.trayTip, "CPU Temperature : 45 .C");
    EXPECT_EQ(points(ReadoutItem::V12), std::vector<double>{12.0});
    EXPECT_EQ(timers.running[kSamplingTimer], 3000);
    EXPECT_EQ(log(), "");
}

TEST_F(MonitorTickTest, ThreeSamplesPerIntervalAverageTheCpuFanOnly) {
    settings.IntervalTime = 5;
    Start("Board 6401", "[SamplesPerInterval]\nboard 6401 => SamplesPerInterval=3\n");
    EXPECT_EQ(timers.running[kSamplingTimer], 1665);
    // The start-up tick was the first sample; two more complete the interval.
    EXPECT_EQ(text(ReadoutItem::CpuFan), "");
    hw().RawSlots[8] = 2701;
    hw().RawSlots[0] = 1400;
    tick();
    EXPECT_EQ(text(ReadoutItem::CpuFan), "");
    hw().RawSlots[8] = 2702;
    hw().RawSlots[0] = 1410;
    tick();
    EXPECT_EQ(text(ReadoutItem::CpuFan), "2701"); // (2700 + 2701 + 2702) / 3
    EXPECT_EQ(text(ReadoutItem::Vcore), "1.41");  // the third tick's own value
}

TEST_F(MonitorTickTest, LargeOffsetGivesANegativeTemperature) {
    hw().Lm75Bytes = {{0, 70}};
    Start("Board 7005", "[ChipSelector]\nboard 7005 => ChipSelector=4 CpuTempOffset=64\n");
    hw().Lm75Bytes = {{0, 20}};
    tick();
    EXPECT_EQ(text(ReadoutItem::CpuTemp), "-44 .C");
    EXPECT_EQ(points(ReadoutItem::CpuTemp).back(), -44);
}

TEST_F(MonitorTickTest, FahrenheitOnScreenCelsiusInTheLog) {
    settings.Celsius = 0;
    Start();
    EXPECT_EQ(text(ReadoutItem::CpuTemp), "113 .F");
    EXPECT_EQ(points(ReadoutItem::CpuTemp).back(), 113);
    EXPECT_EQ(text(ReadoutItem::SysTemp), "95 .F");
    controller->Limits().cpuTempUpper = 45; // 45 is out of range (strict bounds)
    for (int i = 0; i < 3; ++i)
        tick();
    EXPECT_NE(log().find("CPU Temperature WARNING : 45 degrees \r\n\r\n"), std::string::npos);
}

TEST_F(MonitorTickTest, ChipCountFan) {
    hw().Lm75Bytes = {{0, 45}, {2, 135}};
    Start("Board 6601", "[ChipSelectorEarly]\nboard 6601 version contains \"1.0\" => "
                        "ChipSelector=1 CpuTempOffset=14\n");
    EXPECT_EQ(text(ReadoutItem::CpuFan), "2500");
    hw().Lm75Bytes = {{0, 45}, {2, 255}};
    tick();
    EXPECT_EQ(text(ReadoutItem::CpuFan), "0");
}

TEST_F(MonitorTickTest, EpisodeWritesOneLineAtItsThirdEvaluation) {
    Start();
    controller->Limits().vcoreLower = 1100;
    controller->Limits().vcoreUpper = 1600;
    const int32_t vcore[] = {1000, 1000, 1300, 1000, 1000, 1000, 1000};
    std::vector<std::string> lines;
    for (int32_t v : vcore) {
        hw().RawSlots[0] = v;
        tick();
        lines.push_back(log());
    }
    EXPECT_EQ(lines[4], "");
    const std::string& l = lines[5];
    ASSERT_EQ(l.size(), 58u);
    EXPECT_EQ(l[2], '/');
    EXPECT_EQ(l.substr(19), " CPU CORE VOLTAGE WARNING : 1.00 v \r\n\r\n");
    EXPECT_EQ(lines[6], l); // one line per episode
    // The third out-of-range evaluation blacks the digits, the fourth turns them red.
    EXPECT_EQ(view.colours[static_cast<int>(ReadoutItem::Vcore)],
              (std::pair<uint32_t, uint32_t>{0, 0xFF}));
    EXPECT_GT(view.Count("ShowForWarning"), 0) << "a warning brings the window back";
}

TEST_F(MonitorTickTest, WarningBringsTheWindowBackAndLoopsTheSound) {
    Start();
    controller->Limits().sysFanLower = 2000;
    platform.sound.log.clear();
    tick();
    tick();
    EXPECT_EQ(platform.sound.log, (std::vector<std::string>{"stop", "stop"}));
    tick();
    EXPECT_EQ(platform.sound.log.back(), "start SOUND.wav");
    EXPECT_EQ(view.Count("ShowForWarning"), 1);
    tick();
    EXPECT_EQ(view.Count("ShowForWarning"), 2); // every tick while the warning stands

    settings.SoundWarning = 0;
    tick();
    EXPECT_EQ(platform.sound.log.back(), "stop");
    EXPECT_EQ(view.Count("ShowForWarning"), 3);

    settings.SoundWarning = 1;
    controller->Limits().sysFanLower = 100;
    tick();
    EXPECT_EQ(platform.sound.log.back(), "stop");
    EXPECT_EQ(view.Count("ShowForWarning"), 3);
}

TEST_F(MonitorTickTest, ListedWindowFreezesValuesColoursAndTheAlarm) {
    Start();
    controller->Limits().cpuFanLower = 3000;
    for (int i = 0; i < 3; ++i)
        tick();
    ASSERT_EQ(platform.sound.log.back(), "start SOUND.wav");
    const auto colours = view.colours;
    hw().Calls.clear();
    platform.sound.log.clear();
    hw().RawSlots[8] = 1234;

    platform.windows.titles = {"Configuration"};
    tick();
    tick();
    EXPECT_TRUE(hw().Calls.empty());         // nothing read
    EXPECT_TRUE(platform.sound.log.empty()); // the alarm goes on untouched
    EXPECT_EQ(view.colours, colours);
    EXPECT_EQ(text(ReadoutItem::CpuFan), "2700");
    EXPECT_EQ(log().size(), 57u); // still the one line

    platform.windows.titles = {"Configuration - x"};
    tick();
    EXPECT_EQ(text(ReadoutItem::CpuFan), "1234");
}

TEST_F(MonitorTickTest, OverheatOpensTheCountdownAndAcceptingPowersOff) {
    Start();
    controller->Limits().cpuTempUpper = 90;
    hw().Lm75Bytes = {{0, 95}};
    int nested = 0;
    view.onDialog = [&] {
        // The window's timer keeps running inside the dialog; another item
        // goes out of range meanwhile.
        controller->Limits().vcoreUpper = 1300;
        for (int i = 0; i < 4; ++i) {
            tick();
            ++nested;
        }
    };
    view.acceptDialogs = true;
    tick();
    tick();
    EXPECT_EQ(view.Count("RunOverTemperatureDialog"), 0);
    tick();
    EXPECT_EQ(view.Count("RunOverTemperatureDialog"), 1); // nested ticks open no second one
    EXPECT_EQ(nested, 4);
    EXPECT_EQ(platform.powerOffs, 1);
    const std::string l = log();
    EXPECT_NE(l.find("CPU Temperature WARNING : 95 degrees"), std::string::npos);
    // The nested ticks evaluated and logged the other item.
    EXPECT_NE(l.find("CPU CORE VOLTAGE WARNING : 1.35 v"), std::string::npos);
    EXPECT_LT(l.find("CPU Temperature WARNING"), l.find("CPU CORE VOLTAGE WARNING"));
}

TEST_F(MonitorTickTest, CancelledCountdownDoesNotPowerOff) {
    Start();
    controller->Limits().cpuTempLower = 50; // below the lower limit counts too
    for (int i = 0; i < 5; ++i)
        tick();
    EXPECT_EQ(view.Count("RunOverTemperatureDialog"), 1);
    EXPECT_EQ(platform.powerOffs, 0);
    EXPECT_EQ(platform.sound.log.back(), "start SOUND.wav");
}

// The countdown runs further ticks nested in its loop; they read and convert
// the slots again. The outer tick goes on with its own values, converted once.
TEST_F(MonitorTickTest, NestedCountdownLeavesEveryValueConvertedOnce) {
    hw().RawSlots[3] = 3140; // +5 V: 3140 * 1.6 = 5024 mV
    hw().RawSlots[4] = 1818; // +12 V: 1818 * 6.6 = 11998 mV
    hw().Vid = 0x8086;
    Start("Board 8601", "[OffsetOrSource vendor 0x8086]\nboard 8601 => CpuTempOffset=-4\n"
                        "[SysTempUsesCpuOffset]\nboard 8601 => SysTempUsesCpuOffset=yes\n"
                        "[FiveVoltRule]\nboard 8601 => FiveVoltRule=Slot3Times1_6\n"
                        "[TwelveVoltRule]\nboard 8601 => TwelveVoltRule=Times6_6\n");
    controller->Limits().cpuTempUpper = 40; // 45 + 4 is too hot
    int nested = 0;
    view.onDialog = [&] {
        for (; nested < 3; ++nested)
            tick();
    };
    for (int i = 0; i < 3; ++i)
        tick();
    ASSERT_EQ(view.Count("RunOverTemperatureDialog"), 1);
    ASSERT_EQ(nested, 3);

    EXPECT_EQ(text(ReadoutItem::V5), "5.02");
    EXPECT_EQ(text(ReadoutItem::V12), "12.00");
    EXPECT_EQ(text(ReadoutItem::SysTemp), "39  .C"); // 35 - (-4), once
    for (double v : points(ReadoutItem::V5))
        EXPECT_DOUBLE_EQ(v, 5.024);
    for (double v : points(ReadoutItem::V12))
        EXPECT_DOUBLE_EQ(v, 11.998);
    for (double v : points(ReadoutItem::SysTemp))
        EXPECT_EQ(v, 39);
    EXPECT_EQ(points(ReadoutItem::V5).size(), 7u); // one per evaluation tick
    const HmSharedFields f = UnpackSharedBlock(block());
    EXPECT_EQ(f.V5, 5024);
    EXPECT_EQ(f.V12, 11998);
    EXPECT_EQ(f.SystemTemp, 39);
    EXPECT_EQ(platform.powerOffs, 0);
}

constexpr char kFilledBoardRow[] =
    "[OffsetOrSource vendor 0x8086]\nboard filled => SensorSource=EmbeddedController\n";

// A board sent to its embedded controller whose controller never answers (no
// port access) is read through its chip instead: no phantom 2 degrees, no
// countdown, no power-off.
TEST_F(MonitorTickTest, SilentControllerFallsBackToTheChip) {
    hw().Vid = 0x8086;
    hw().EcStuck = true;
    Start("To be filled by O.E.M.", kFilledBoardRow);
    ASSERT_EQ(platform.reports.size(), 1u);
    EXPECT_NE(platform.reports[0].find("embedded controller"), std::string::npos);
    EXPECT_EQ(controller->Profile().SensorSource, SensorSourceKind::Library);
    controller->Limits().cpuTempLower = 10;
    controller->Limits().cpuFanLower = 100;
    for (int i = 0; i < 4; ++i)
        tick();
    EXPECT_EQ(text(ReadoutItem::CpuTemp), "45 .C");
    EXPECT_EQ(text(ReadoutItem::CpuFan), "2100"); // the Intel host's CPU fan slot 10
    EXPECT_EQ(log(), "");
    EXPECT_EQ(view.Count("RunOverTemperatureDialog"), 0);
    EXPECT_EQ(platform.powerOffs, 0);
}

// A controller that answers at start-up and then falls silent: its items keep
// what they show and are not evaluated.
TEST_F(MonitorTickTest, ControllerThatStopsAnsweringGivesNoReading) {
    hw().Vid = 0x8086;
    hw().EcResponses[{0x13, 0x00}] = {41, 0};
    hw().EcResponses[{0x13, 0x14}] = {0x84, 0x03};
    hw().EcResponses[{0x14, 0x00}] = {34, 0};
    Start("To be filled by O.E.M.", kFilledBoardRow);
    ASSERT_EQ(controller->Profile().SensorSource, SensorSourceKind::EmbeddedController);
    EXPECT_TRUE(platform.reports.empty());
    EXPECT_EQ(text(ReadoutItem::CpuTemp), "41 .C");
    EXPECT_EQ(text(ReadoutItem::CpuFan), "2700");
    controller->Limits().cpuTempLower = 10;
    controller->Limits().cpuFanLower = 100;
    controller->Limits().sysTempLower = 10;
    const size_t shownPoints = points(ReadoutItem::CpuTemp).size();
    hw().EcStuck = true;
    for (int i = 0; i < 5; ++i)
        tick();
    EXPECT_EQ(text(ReadoutItem::CpuTemp), "41 .C");
    EXPECT_EQ(text(ReadoutItem::CpuFan), "2700");
    EXPECT_EQ(points(ReadoutItem::CpuTemp).size(), shownPoints);
    EXPECT_EQ(log(), "");
    EXPECT_EQ(view.Count("RunOverTemperatureDialog"), 0);
    EXPECT_EQ(platform.powerOffs, 0);
}

TEST_F(MonitorTickTest, ChassisLatchFoundTwiceOpensTheWarningAndOkClearsIt) {
    hw().ChassisAnswers = {1, 0, 0, 1, 1, 1, 1};
    Start("Board 7045", "[ChassisSupported]\nboard 7045 => ChassisSupported=yes\n");
    // Set once, then clear for a while: the counter waits at 1.
    tick();
    tick();
    EXPECT_EQ(view.Count("RunChassisDialog"), 0);
    view.acceptDialogs = false;
    tick(); // set a second time: logged, dialog, cancelled
    EXPECT_EQ(view.Count("RunChassisDialog"), 1);
    EXPECT_EQ(hw().Count("ChassisClear"), 0);
    EXPECT_NE(log().find(" CHASSIS INTRUSION WARNING\r\n\r\n"), std::string::npos);
    tick();
    EXPECT_EQ(view.Count("RunChassisDialog"), 1);
    view.acceptDialogs = true;
    int nestedDialogs = 0;
    view.onDialog = [&] {
        // A nested tick finds the latch set again: no second dialog.
        tick();
        nestedDialogs = view.Count("RunChassisDialog");
    };
    tick();
    EXPECT_EQ(nestedDialogs, 2);
    EXPECT_EQ(view.Count("RunChassisDialog"), 2);
    EXPECT_EQ(hw().Count("ChassisClear"), 1);
}

TEST_F(MonitorTickTest, BoardsWithoutTheLatchNeverAskForIt) {
    Start();
    for (int i = 0; i < 3; ++i)
        tick();
    EXPECT_EQ(hw().Count("ChassisIntrusion"), 0);
}

TEST_F(MonitorTickTest, SharedBlockFollowsEveryKindOfTick) {
    Start("Board 6401", "[SamplesPerInterval]\nboard 6401 => SamplesPerInterval=3\n"
                        "[FiveVoltRule]\nboard 6401 => FiveVoltRule=Slot3Times1_5\n");
    ASSERT_TRUE(platform.shared.Ready());
    hw().RawSlots[3] = 3000;
    tick();
    tick(); // evaluation tick: converted
    HmSharedFields f = UnpackSharedBlock(block());
    EXPECT_EQ(f.V5, 4500);
    EXPECT_EQ(f.CpuTemp, 45);
    EXPECT_EQ(f.Vcore, 1350);
    tick(); // between evaluations: as the library reported it
    f = UnpackSharedBlock(block());
    EXPECT_EQ(f.V5, 3000);

    platform.windows.titles = {"Home Theater"};
    hw().RawSlots[0] = 1500;
    tick(); // suppressed: unchanged values rewritten
    EXPECT_EQ(UnpackSharedBlock(block()).Vcore, 1350);
    EXPECT_EQ(block()[3], 0);
}

} // namespace
} // namespace sentinax

namespace sentinax {
namespace {

using namespace test;

class LibraryStatusTickTest : public TickFixture {
protected:
    void SetUp() override {
        TickFixture::SetUp();
        Open("KX-4100 Demo", LimitsSet::Broken);
    }
};

// Items whose source the library lost show "N A" and are never evaluated, so
// even limits every value breaks give no warning, no countdown; items read
// through guessed wiring are shown but not evaluated. When the source
// returns, the CPU's protection runs again within three evaluations.
TEST_F(LibraryStatusTickTest, LostAndUncheckedItemsAreNotEvaluated) {
    hw().Status.LostParams = 1u << 0;                   // the CPU temperature
    hw().Status.LostSlots = (1u << 8) | (1u << 7);      // CPU fan (AMD), system temperature
    hw().Status.UncheckedSlots = (1u << 4) | (1u << 0); // +12 V and Vcore guessed
    for (int i = 0; i < 5; ++i)
        controller->OnTimer(kSamplingTimer);
    EXPECT_EQ(text(ReadoutItem::CpuTemp), "N A");
    EXPECT_EQ(text(ReadoutItem::CpuFan), "N A");
    EXPECT_EQ(text(ReadoutItem::SysTemp), "N A");
    EXPECT_EQ(text(ReadoutItem::V12), "12.00");
    EXPECT_EQ(text(ReadoutItem::Vcore), "1.35");
    const std::string records = log();
    for (const char* quiet :
         {"CPU Temperature", "CPU FAN", "Chassis Temperature", "+12V", "CPU CORE"})
        EXPECT_EQ(records.find(quiet), std::string::npos) << quiet << "\n" << records;
    EXPECT_NE(records.find("3.3V"), std::string::npos) << records; // checked items still warn
    EXPECT_EQ(view.Count("RunOverTemperatureDialog"), 0);

    hw().Status.LostParams = 0;
    hw().Lm75Bytes[0] = 99;
    for (int i = 0; i < 3; ++i)
        controller->OnTimer(kSamplingTimer);
    EXPECT_EQ(text(ReadoutItem::CpuTemp), "99 .C");
    EXPECT_EQ(view.Count("RunOverTemperatureDialog"), 1);
}

TEST_F(LibraryStatusTickTest, NoticesGoToTheReporterAndTheHintLine) {
    hw().Notices = {"sensors: 9 values from nct6798-isa-0290", "+12 V reads 21.96 V"};
    controller->OnTimer(kSamplingTimer);
    ASSERT_EQ(platform.reports.size(), 2u);
    EXPECT_EQ(platform.reports[0], "sensors: 9 values from nct6798-isa-0290");
    EXPECT_EQ(view.fields["TEXT_HINT"], "+12 V reads 21.96 V");
    controller->OnTimer(kSamplingTimer);
    EXPECT_EQ(platform.reports.size(), 2u); // each said once
}

TEST(LibraryStatus, SlotsAndBytesAreTracedToTheirItems) {
    BoardProfile profile; // AMD host: CPU fan slot 8
    HmioStatus status{};
    status.LostSlots = (1u << 8) | (1u << 3);
    status.LostParams = 1u << 0;
    status.UncheckedSlots = 1u << 4;
    ItemStatus items = ItemsOfStatus(profile, status);
    auto bit = [](ReadoutItem item) { return 1u << static_cast<int>(item); };
    EXPECT_EQ(items.Lost,
              bit(ReadoutItem::CpuFan) | bit(ReadoutItem::V5) | bit(ReadoutItem::CpuTemp));
    EXPECT_EQ(items.Unchecked, bit(ReadoutItem::V12));
    // A board whose +5 V is converted from slot 4 loses it with slot 4; its
    // system temperature comes from the second byte.
    profile.FiveVoltRule = FiveVoltRuleKind::CopySlot4;
    profile.SystemTempFromChip = true;
    status = {};
    status.LostSlots = 1u << 4;
    status.LostParams = 1u << 1;
    items = ItemsOfStatus(profile, status);
    EXPECT_EQ(items.Lost, bit(ReadoutItem::V5) | bit(ReadoutItem::V12) | bit(ReadoutItem::SysTemp));
}

} // namespace
} // namespace sentinax
