// The window's command table on a started window logic, with doubles of the
// window side, the other programs and the hardware.
#include "ControllerDoubles.h"

#include "app/CommandHandler.h"

#include <gtest/gtest.h>

#include <sstream>

namespace sentinax {
namespace {

using namespace test;

struct RecordingTarget : CommandTarget {
    std::vector<std::string> calls;
    bool settingsAccepted = false;
    std::function<void()> onSettings;
    void EndRun(int code) override { calls.push_back("EndRun " + std::to_string(code)); }
    void ShowCommandMessage(const std::string& text) override {
        calls.push_back("Message " + text);
    }
    void PopUpOptionsMenu() override { calls.push_back("OptionsMenu"); }
    void HideWindow() override { calls.push_back("Hide"); }
    void MinimizeWindow() override { calls.push_back("Minimize"); }
    void RestoreWindow(bool plain) override { calls.push_back(plain ? "ShowNormal" : "Restore"); }
    void RunAboutBox() override { calls.push_back("About"); }
    void SetTemperatureRanges(double lower, double upper) override {
        std::ostringstream text;
        text << "Ranges " << lower << ".." << upper;
        calls.push_back(text.str());
    }
    bool RunSettingsDialog() override {
        calls.push_back("Settings");
        if (onSettings)
            onSettings();
        return settingsAccepted;
    }
    void RunInventory() override { calls.push_back("Inventory"); }
    void CloseAndCleanUp() override { calls.push_back("CloseAndCleanUp"); }
};

class CommandHandlerTest : public ::testing::Test {
protected:
    void SetUp() override {
        FakeHardware::Instance().Reset();
        settings.IntervalTime = 3;
        settings.Celsius = 1;
    }
    void Start(const std::string& rows = "", const std::string& product = "KX-4100 Demo") {
        FakeHardware::Instance().Dmi = FakeHardware::BoardDmi(product, "1.0");
        std::istringstream in(rows);
        std::ostringstream errors;
        ParseBoardTable(in, "test.table", platform.table, errors);
        ASSERT_EQ(errors.str(), "");
        controller = std::make_unique<MainController>(settings, -1, view, timers, adjusters,
                                                      platform, CompanionPaths{}, "/dev/null");
        ASSERT_TRUE(controller->OnInitDialog());
        handler =
            std::make_unique<CommandHandler>(target, *controller, settings, platform.programs);
    }
    std::vector<std::string>& calls() { return target.calls; }

    AppSettings settings;
    RecordingView view;
    RecordingTimers timers;
    FakePlatform platform;
    RecordingAdjusters adjusters;
    RecordingTarget target;
    std::unique_ptr<MainController> controller;
    std::unique_ptr<CommandHandler> handler;
};

TEST_F(CommandHandlerTest, EveryFaceButtonByItsExactName) {
    Start();
    struct Case {
        const char* button;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"BUTTON_EXIT", {"EndRun 1"}},
        {"BUTTON_MENU", {"OptionsMenu"}},
        {"BUTTON_HELP", {"About"}},
        {"BUTTON_MINIMIZE", {"Hide"}},
        {"BUTTON_TEMP", {"Ranges 32..176"}},
        {"BUTTON_TEMP", {"Ranges 0..80"}}, // twice: back where it was
        {"button_exit", {}},               // names are case-sensitive
        {"BUTTON_EXIT ", {}},
        {"TEXT_HINT", {}},
        {"", {}},
    };
    for (const Case& c : cases) {
        calls().clear();
        handler->OnButtonCommand(c.button);
        EXPECT_EQ(calls(), c.calls) << c.button;
    }
    EXPECT_EQ(settings.Celsius, 1);
    EXPECT_TRUE(settings.UnitSettingChanged);
    EXPECT_TRUE(controller->WindowHidden());
    handler->OnButtonCommand("BUTTON_Korvane");
    EXPECT_EQ(platform.programs.started,
              std::vector<std::string>{"browser https://korvane.example/sentinax4"});
}

TEST_F(CommandHandlerTest, CoolingToolOnlyOnItsBoardsAndItsHelperOnceAtExit) {
    Start();
    handler->OnButtonCommand("BUTTON_FROSTLINE");
    EXPECT_EQ(calls(),
              std::vector<std::string>{"Message Frostline not support your motherboard  !!!"});
    controller->OnDestroy();
    EXPECT_TRUE(platform.programs.started.empty());
}

TEST_F(CommandHandlerTest, CoolingToolHelperStartsOnceWhateverTheCleanUps) {
    Start("[FrostlineSupported]\nboard 5226 => FrostlineSupported=yes\n", "KX-5226");
    handler->OnButtonCommand("BUTTON_FROSTLINE");
    handler->OnButtonCommand("BUTTON_FROSTLINE");
    EXPECT_TRUE(calls().empty());
    controller->OnQueryEndSession(); // the session ends: clean-up now
    controller->OnDestroy();         // and again when the window goes
    EXPECT_EQ(platform.programs.started,
              (std::vector<std::string>{"cooling tool", "cooling tool", "cooling helper"}));
}

TEST_F(CommandHandlerTest, RestoreBringsBackOnlyAHiddenWindow) {
    Start();
    ASSERT_TRUE(controller->WindowHidden()); // the tray icon exists
    handler->Run(WindowCommand::Restore);
    EXPECT_EQ(calls(), std::vector<std::string>{"Restore"});
    EXPECT_FALSE(controller->WindowHidden());
    handler->Run(WindowCommand::Restore); // already shown: nothing
    EXPECT_EQ(calls().size(), 1u);
}

TEST_F(CommandHandlerTest, HostModeThreeMinimisesAndShowsNormally) {
    Start("[HostModePanelDisplay]\nboard 7071 => HostMode=3\n", "KX-7071");
    ASSERT_EQ(controller->Profile().HostMode, HostMode::PanelDisplay);
    handler->OnButtonCommand("BUTTON_MINIMIZE");
    handler->Run(WindowCommand::Restore);
    EXPECT_EQ(calls(), (std::vector<std::string>{"Minimize", "ShowNormal"}));
}

TEST_F(CommandHandlerTest, SettingsOkRestartsSamplingWithTheNewPeriod) {
    Start("[SamplesPerInterval]\nboard 6401 => SamplesPerInterval=3\n", "Board 6401");
    controller->OnTimer(kSamplingTimer); // the start-up tick
    ASSERT_EQ(timers.running[kSamplingTimer], 999);
    target.onSettings = [&] { settings.IntervalTime = 25; };
    handler->Run(WindowCommand::Settings); // cancelled: nothing changes
    EXPECT_EQ(timers.running[kSamplingTimer], 999);
    EXPECT_FALSE(settings.ScreenSettingsChanged);
    target.settingsAccepted = true;
    handler->Run(WindowCommand::Settings);
    EXPECT_EQ(timers.running[kSamplingTimer], 8325); // 333 * 25
    EXPECT_TRUE(settings.ScreenSettingsChanged);
}

TEST_F(CommandHandlerTest, MenuEntriesAndTrayExitReachTheirTargets) {
    Start();
    handler->Run(WindowCommand::SystemInfo);
    handler->Run(WindowCommand::Inventory);
    handler->Run(WindowCommand::TrayExit);
    EXPECT_EQ(platform.programs.started, std::vector<std::string>{"system info"});
    EXPECT_EQ(calls(), (std::vector<std::string>{"Inventory", "CloseAndCleanUp"}));
}

} // namespace
} // namespace sentinax
