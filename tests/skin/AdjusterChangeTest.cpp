// The main window's answer to its adjusters and pointer hints, on the
// controller's doubles: what a drag stores, which limit it recomputes, what
// the hint field shows, and what the clean-up then writes into the skin file.
#include "ControllerDoubles.h"
#include "FakeHardware.h"
#include "ScratchFolder.h"

#include "app/MainController.h"
#include "config/LimitItem.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

namespace sentinax {
namespace {

using namespace test;
namespace fs = std::filesystem;

// The recorder, with the skin's adjusters and text fields by name.
struct SkinView : RecordingView {
    std::map<std::string, int> positions;
    std::map<std::string, std::string> fields;
    int GetSliderPosition(const std::string& name) const override {
        const auto it = positions.find(name);
        return it == positions.end() ? 0 : it->second;
    }
    void SetFieldText(const std::string& name, const std::string& text) override {
        fields[name] = text;
    }
};

// Runs in a fresh working folder holding Skins/Skin.ini; back where it was after.
class AdjusterChangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        FakeHardware::Instance().Reset();
        ASSERT_FALSE(dir.empty());
        fs::create_directories(dir / "Skins");
        inDir.emplace(dir);
        settings.Celsius = 1;
    }
    void TearDown() override {
        controller.reset();
        inDir.reset();
    }
    void Start(const std::string& product, const std::string& rows = "") {
        FakeHardware::Instance().Dmi = FakeHardware::BoardDmi(product, "1.0");
        std::istringstream in(rows);
        std::ostringstream errors;
        ParseBoardTable(in, "test.table", platform.table, errors);
        ASSERT_EQ(errors.str(), "");
        controller =
            std::make_unique<MainController>(settings, -1, view, timers, adjusters, platform);
        ASSERT_TRUE(controller->OnInitDialog());
    }
    // The user drags the named adjuster to position.
    void Drag(const std::string& name, int position) {
        view.positions[name] = position;
        controller->OnAdjusterChanged(name);
    }
    std::string Hint() { return view.fields["TEXT_HINT"]; }
    int ChangedCount() const {
        return static_cast<int>(
            std::count(settings.LimitChanged.begin(), settings.LimitChanged.end(), true));
    }

    test::ScratchFolder scratch{"sx-adjust"};
    fs::path dir = scratch.Path();
    std::optional<test::InFolder> inDir;
    AppSettings settings;
    SkinView view;
    RecordingTimers timers;
    FakePlatform platform;
    RecordingAdjusters adjusters;
    std::unique_ptr<MainController> controller;
};

TEST_F(AdjusterChangeTest, ADragStoresThePositionAndRecomputesOneLimit) {
    Start("KX-4100 Demo");
    const Thresholds before = controller->Limits();
    Drag("CPU_TEMP_UPPER_LIMIT", 90);
    EXPECT_EQ(settings.LimitPosition[0], 90);
    EXPECT_TRUE(settings.LimitChanged[0]);
    EXPECT_EQ(ChangedCount(), 1);
    EXPECT_EQ(controller->Limits().cpuTempUpper, 95);
    Thresholds expected = before;
    expected.cpuTempUpper = 95;
    EXPECT_EQ(controller->Limits(), expected) << "no other limit moves";
    EXPECT_EQ(Hint(), "CPU temperature max threshold : 95 'C");

    // In Fahrenheit the hint follows the unit; the limit stays in Celsius.
    settings.Celsius = 0;
    Drag("CPU_TEMP_UPPER_LIMIT", 90);
    EXPECT_EQ(Hint(), "CPU temperature max threshold : 203 'F");
    EXPECT_EQ(controller->Limits().cpuTempUpper, 95);

    // A lower limit may pass its upper one: nothing reorders them.
    Drag("CPU_TEMP_LOWER_LIMIT", 100);
    EXPECT_EQ(controller->Limits().cpuTempLower, 50);
    Drag("CPU_TEMP_UPPER_LIMIT", 0);
    EXPECT_EQ(controller->Limits().cpuTempUpper, 50);
}

// A CPU limit at or below the CPU's rated maximum warns there, but the hint
// says that the power-off still waits for the rating.
TEST_F(AdjusterChangeTest, CpuLimitBelowTheRatingSaysThePowerOffWaits) {
    platform.cpuInfo = "processor\t: 0\nvendor_id\t: AuthenticAMD\ncpu family\t: 25\n"
                       "model\t\t: 97\nmodel name\t: AMD Ryzen 9 7950X 16-Core Processor\n";
    Start("KX-4100 Demo");
    struct Case {
        int position;
        bool celsius;
        const char* hint;
    };
    const Case cases[] = {
        {50, true, "CPU temperature max threshold : 75 'C, power-off only above 95 'C"},
        {90, true, "CPU temperature max threshold : 95 'C, power-off only above 95 'C"},
        {91, true, "CPU temperature max threshold : 95 'C, power-off only above 95 'C"},
        {92, true, "CPU temperature max threshold : 96 'C"},
        {50, false, "CPU temperature max threshold : 167 'F, power-off only above 203 'F"},
        {100, false, "CPU temperature max threshold : 212 'F"},
    };
    for (const Case& c : cases) {
        settings.Celsius = c.celsius ? 1 : 0;
        Drag("CPU_TEMP_UPPER_LIMIT", c.position);
        EXPECT_EQ(Hint(), c.hint) << c.position;
    }
    Drag("CPU_TEMP_LOWER_LIMIT", 50);
    EXPECT_EQ(Hint(), "CPU temperature min threshold : 77 'F") << "only the upper limit";

    // The sensor's own critical limit, once the library reports one, wins.
    FakeHardware::Instance().Status.CpuTempCrit = 100;
    settings.Celsius = 1;
    Drag("CPU_TEMP_UPPER_LIMIT", 96);
    EXPECT_EQ(Hint(), "CPU temperature max threshold : 98 'C, power-off only above 100 'C");
}

TEST_F(AdjusterChangeTest, WithoutARatingTheHintIsAsItWas) {
    Start("KX-4100 Demo");
    Drag("CPU_TEMP_UPPER_LIMIT", 50);
    EXPECT_EQ(Hint(), "CPU temperature max threshold : 75 'C");
}

TEST_F(AdjusterChangeTest, TheBoardsBaseAppliesAndItsStartUpOverrideNoLonger) {
    Start("KX-4126", "[SysFanUpperBase]\nboard 4126 => SysFanUpperBase=4000\n"
                     "[VcoreLowerOverride]\nboard 4126 => VcoreLowerOverride=yes\n");
    EXPECT_EQ(controller->Limits().vcoreLower, 690) << "forced at start-up";
    Drag("SYS_FAN_UPPER_LIMIT", 10);
    EXPECT_EQ(controller->Limits().sysFanUpper, 4700);
    EXPECT_EQ(Hint(), "System fan max threshold : 4700 rpm");
    Drag("VCORE_LOWER_LIMIT", 20);
    EXPECT_EQ(controller->Limits().vcoreLower, 700) << "the formula once the user moved it";
    EXPECT_EQ(Hint(), "Vcore min threshold : 0.70 v");
}

TEST_F(AdjusterChangeTest, OtherNamesChangeNothingAndPointerHintsClear) {
    Start("KX-4100 Demo");
    const Thresholds before = controller->Limits();
    Drag("cpu_temp_upper_limit", 90);
    Drag("FAN_SPEED", 30);
    EXPECT_EQ(ChangedCount(), 0);
    EXPECT_EQ(controller->Limits(), before);
    EXPECT_EQ(view.fields.count("TEXT_HINT"), 0u);

    Drag("V12_UPPER_LIMIT", 50);
    EXPECT_EQ(Hint(), " +12 V max threshold : 13.00 v");
    controller->OnHint("BUTTON_EXIT");
    EXPECT_EQ(Hint(), "");
    controller->OnHint("NONE");
    EXPECT_EQ(Hint(), "none");
    controller->OnHint("");
    EXPECT_EQ(Hint(), "");
}

// Messages that stand in the hint line: the skin file's (until the user acts)
// and the desktop's (until their cause goes) come back after every pointer
// hint; a message for the user is not wiped by the next pointer move.
TEST_F(AdjusterChangeTest, StandingHintsOutlivePointerMovesUntilTheUserActs) {
    struct Case {
        const char* why;
        std::string saveRefused, missingText, limitation;
        std::string shown;
    };
    const Case cases[] = {
        {"unreadable skin file", "its settings could not be read", "", "", kUnreadableSettingsHint},
        {"missing skin file", "", "[Screen]\nIntervalTime=3\n", "", kMissingSkinHint},
        {"no window titles", "", "", "no titles here", kNoTitleWatchHint},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        settings.SaveRefused = c.saveRefused;
        settings.MissingFileText = c.missingText;
        platform.windows.limitation = c.limitation;
        view.fields.clear();
        platform.reports.clear();
        Start("KX-4100 Demo");
        EXPECT_EQ(Hint(), c.shown) << "shown at start";
        controller->OnHint("");
        controller->OnHint("BUTTON_EXIT");
        EXPECT_EQ(Hint(), c.shown) << "pointer moves leave it";
        controller->OnHint("NONE");
        EXPECT_EQ(Hint(), "none") << "a control's own hint shows over it";
        controller->OnHint("");
        EXPECT_EQ(Hint(), c.shown) << "and then it comes back";
        EXPECT_EQ(platform.reports.size(), c.limitation.empty() ? 0u : 1u);

        controller->OnUserAction();
        controller->OnHint("");
        EXPECT_EQ(Hint(), "") << "gone once the user acted";
    }

    // No tray: said until a tray appears, whatever the user does meanwhile.
    controller->SetStandingHint(StandingHint::NoTray, kNoTrayHint);
    EXPECT_EQ(Hint(), kNoTrayHint);
    Drag("V12_UPPER_LIMIT", 50);
    EXPECT_EQ(Hint(), " +12 V max threshold : 13.00 v");
    controller->OnHint("");
    EXPECT_EQ(Hint(), kNoTrayHint) << "a drag is no tray";
    controller->ClearStandingHint(StandingHint::NoTray);
    EXPECT_EQ(Hint(), "");
}

// Only the dragged adjuster's row is rewritten at exit, with the built-in
// geometry and the new position; every other byte stays.
TEST_F(AdjusterChangeTest, TheCleanUpWritesOnlyTheDraggedRow) {
    const std::string skin = "[Screen]\r\nIntervalTime=3\r\nCelsius=1\r\n[TRACKBARINFO]\r\n"
                             "1=CPU_TEMP_UPPER_LIMIT,Normal.jpg,Sel.jpg,215,40,55,18,H,50\r\n"
                             "2=CPU_TEMP_LOWER_LIMIT,Normal.jpg,Sel.jpg,160,40,55,18,H,20\r\n";
    std::ofstream(dir / "Skins/Skin.ini", std::ios::binary) << skin;
    Start("KX-4100 Demo");
    Drag("CPU_TEMP_LOWER_LIMIT", 33);
    controller->OnDestroy();
    std::ifstream in(dir / "Skins/Skin.ini", std::ios::binary);
    const std::string saved{std::istreambuf_iterator<char>(in), {}};
    std::string expected = skin;
    expected.replace(expected.find(",H,20"), 5, ",H,33");
    EXPECT_EQ(saved, expected);
}

} // namespace
} // namespace sentinax
