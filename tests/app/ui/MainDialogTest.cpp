// The window on simulated boards of different kinds: which skin, captions,
// readouts and graphs the board table gives it, what the first tick shows, and
// what the clean-up after SIGTERM writes into the skin file.
#include "app/CSentinaxApp.h"
#include "app/WindowRun.h"
#include "config/LimitItem.h"
#include "skin/AdjusterHint.h"
#include "skin/CSkinText.h"
#include "tests/support/RecordingReporter.h"
#include "widgets/CDigitDisplay.h"
#include "widgets/CHistoryGraph.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/file.h>
#include <unistd.h>

namespace sentinax {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs each test in a fresh copy of the run folder's data, on the scenario
// that the test's ctest entry names.
class MainDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* scenario = std::getenv("HMIO_SCENARIO");
        if (!scenario)
            GTEST_SKIP() << "run through ctest, which names the scenario";
        scenarioName = fs::path(scenario).stem().string();
        if (const char* trace = std::getenv("HMIO_TRACE"))
            std::ofstream(trace, std::ios::trunc);
        char tmpl[] = "/tmp/sx-dialog-XXXXXX";
        dir = mkdtemp(tmpl);
        fs::copy(fs::path(SX_RUN_DIR) / "Skins", dir / "Skins", fs::copy_options::recursive);
        fs::copy(fs::path(SX_RUN_DIR) / "boards.table", dir / "boards.table");
        oldCwd = fs::current_path();
        fs::current_path(dir);
        app = static_cast<CSentinaxApp*>(QCoreApplication::instance());
        app->Settings = AppSettings{};
        for (const char* name : kSharedObjects)
            if (!fs::exists(fs::path("/dev/shm") / name))
                sharedCreated.push_back(name);
    }
    void TearDown() override {
        if (dir.empty())
            return;
        fs::current_path(oldCwd);
        fs::remove_all(dir);
        // The window publishes under the machine-wide names, and its lock
        // object outlives it by design: what this test made goes with it,
        // unless a monitor started meanwhile holds the lock.
        if (sharedCreated.empty())
            return;
        const int lock = ::open("/dev/shm/ShareHMMemDataMutex", O_RDONLY | O_CLOEXEC);
        if (lock >= 0 && ::flock(lock, LOCK_EX | LOCK_NB) != 0) {
            ::close(lock);
            return;
        }
        for (const std::string& name : sharedCreated)
            ::unlink(("/dev/shm/" + name).c_str());
        if (lock >= 0)
            ::close(lock);
    }
    bool Scenario(const char* name) const { return scenarioName == name; }
    // The companion calls of the trace, in order.
    static std::vector<std::string> CompanionCalls() {
        std::vector<std::string> calls;
        const char* trace = std::getenv("HMIO_TRACE");
        std::ifstream in(trace ? trace : "");
        for (std::string line; std::getline(in, line);)
            if (line.rfind("MainEntry(", 0) == 0 || line.rfind("PanoraControl(", 0) == 0)
                calls.push_back(line);
        return calls;
    }

    static constexpr const char* kSharedObjects[] = {"HMShared", "ShareHMMemDataMutex"};
    std::vector<std::string> sharedCreated;
    std::string scenarioName;
    fs::path dir;
    fs::path oldCwd;
    CSentinaxApp* app = nullptr;
};

TEST_F(MainDialogTest, BoardKinds) {
    WindowRun run(*app);
    MainController& c = run.Controller();
    ASSERT_TRUE(c.OnInitDialog());
    c.OnTimer(kSamplingTimer);
    MonitorPanel& panel = run.Window().Panel();
    const auto caption = [&](ReadoutItem item) {
        CHistoryGraph* g = panel.Graph(item);
        return g ? g->XUnits() : std::string("<none>");
    };
    const auto text = [&](ReadoutItem item) { return panel.Readout(item)->DisplayText(); };

    if (Scenario("two-fan-board")) {
        EXPECT_EQ(run.Window().SkinPath(), "Skins/Skin4120.ini");
        EXPECT_EQ(caption(ReadoutItem::PowerFan), "<none>");
        EXPECT_TRUE(panel.Readout(ReadoutItem::PowerFan)->isHidden());
        EXPECT_EQ(caption(ReadoutItem::CpuFan), "CPU FAN");
        EXPECT_EQ(text(ReadoutItem::CpuFan), "2700");
    } else if (Scenario("ec-board")) {
        EXPECT_EQ(c.Profile().SensorSource, SensorSourceKind::EmbeddedController);
        EXPECT_EQ(run.Window().SkinPath(), "Skins/Skin.ini");
        // Intel chipset: CPU fan in slot 10 (start-up read 2700, the tick
        // 2640); only the CPU fan is known to exist, so Vcore shows N A.
        EXPECT_EQ(text(ReadoutItem::Vcore), "N A");
        EXPECT_EQ(text(ReadoutItem::CpuTemp), "41 .C");
        EXPECT_EQ(text(ReadoutItem::CpuFan), "2640");
    } else if (Scenario("panel-display")) {
        EXPECT_EQ(c.Profile().HostMode, HostMode::PanelDisplay);
        EXPECT_FALSE(c.WindowHidden()); // no tray icon, never hidden
        EXPECT_EQ(caption(ReadoutItem::PowerFan), "PS FAN");
    } else if (Scenario("front-panel")) {
        EXPECT_EQ(c.Profile().HostMode, HostMode::FrontPanel);
    } else if (Scenario("demo")) {
        EXPECT_EQ(run.Window().SkinPath(), "Skins/Skin.ini");
        EXPECT_EQ(c.Profile().HostMode, HostMode::None);
        for (ReadoutItem item : {ReadoutItem::CpuFan, ReadoutItem::SysFan, ReadoutItem::PowerFan})
            EXPECT_NE(caption(item), "<none>");
        EXPECT_EQ(caption(ReadoutItem::PowerFan), "PS FAN");
        EXPECT_EQ(text(ReadoutItem::Vcore), "1.35");
        EXPECT_EQ(text(ReadoutItem::CpuTemp), "43 .C"); // start-up read 42, the tick 43
        // The shipped skin's limits hold for the demo board's values.
        EXPECT_FALSE(fs::exists(dir / "log.dat"));
        // 101 °C: a healthy CPU at full load (up to 100 °C) raises no alarm.
        EXPECT_EQ(c.Limits().cpuTempUpper, 101);
    } else {
        GTEST_SKIP() << "no expectations for " << scenarioName;
    }
    c.OnDestroy();
    c.OnDestroy();

    const std::vector<std::string> calls = CompanionCalls();
    if (Scenario("front-panel")) {
        EXPECT_EQ(calls, (std::vector<std::string>{"MainEntry(command=1 argument=0 value=0)",
                                                   "MainEntry(command=100 argument=1 value=0)",
                                                   "MainEntry(command=114 argument=1 value=45)",
                                                   "MainEntry(command=101 argument=1 value=0)"}));
    } else if (Scenario("panel-display")) {
        ASSERT_EQ(calls.size(), 3u);
        EXPECT_EQ(calls[0], "PanoraControl(1, 2, 16384, 0)");
        EXPECT_EQ(calls[1].rfind("PanoraControl(256, 257, 45, ", 0), 0u) << calls[1];
        EXPECT_EQ(calls[2], "PanoraControl(1, 3, 16384, 0)");
    } else {
        EXPECT_TRUE(calls.empty());
    }
}

// A message reported while the window is up reaches standard error and the
// hint line; the next pointer move brings the standing message back. The
// window's reporter goes with the window.
TEST_F(MainDialogTest, ReportedMessagesReachTheHintLine) {
    if (!Scenario("demo"))
        GTEST_SKIP();
    const RecordingReporter standardError;
    {
        WindowRun run(*app);
        MainController& c = run.Controller();
        ASSERT_TRUE(c.OnInitDialog());
        const auto hint = [&run] {
            for (const CSkinText* field : run.Window().Texts())
                if (field->Name() == kHintField)
                    return field->Text().toStdString();
            return std::string("<no hint field>");
        };
        c.SetStandingHint(StandingHint::NoTray, "standing");
        ReportMessage(MessagePriority::Warning, "the alarm sound\nis not played");
        QCoreApplication::processEvents();
        EXPECT_EQ(hint(), "the alarm sound is not played");
        c.OnHint(std::string());
        EXPECT_EQ(hint(), "standing");
        c.OnDestroy();
    }
    EXPECT_EQ(&ProcessReporter(), &standardError);
    const std::string heard = standardError.Text();
    EXPECT_NE(heard.find("the alarm sound\nis not played\n"), std::string::npos) << heard;
}

// Ending with SIGTERM after settings changed in memory rewrites exactly the
// changed keys of the skin file and leaves every other byte as it was.
TEST_F(MainDialogTest, SigtermSavesOnlyTheChangedSettings) {
    if (!Scenario("demo"))
        GTEST_SKIP();
    const std::string before = ReadFile(dir / "Skins/Skin.ini");
    WindowRun run(*app);
    MainController& c = run.Controller();
    ASSERT_TRUE(c.OnInitDialog());
    AppSettings& s = app->Settings;
    ASSERT_EQ(s.IntervalTime, 3);
    s.IntervalTime = 7;
    s.SoundWarning = 0;
    s.ScreenSettingsChanged = true;
    s.LimitPosition[static_cast<int>(LimitItem::V5Upper)] = 40;
    s.LimitChanged[static_cast<int>(LimitItem::V5Upper)] = true;

    std::raise(SIGTERM);
    QElapsedTimer timer;
    timer.start();
    const auto unloaded = [] {
        const char* trace = std::getenv("HMIO_TRACE");
        std::ifstream in(trace ? trace : "");
        for (std::string line; std::getline(in, line);)
            if (line.rfind("UnloadNTHMIO(", 0) == 0)
                return true;
        return false;
    };
    while (!unloaded() && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    ASSERT_TRUE(unloaded()) << "SIGTERM did not run the clean-up";

    std::string expected = before;
    const auto replace = [&](const std::string& from, const std::string& to) {
        const size_t at = expected.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        expected.replace(at, from.size(), to);
    };
    replace("IntervalTime=3", "IntervalTime=7");
    replace("SoundWarning=1", "SoundWarning=0");
    replace("V5_UPPER_LIMIT,Normal.jpg,Sel.jpg,370,170,55,18,H,25",
            "V5_UPPER_LIMIT,Normal.jpg,Sel.jpg,370,170,55,18,H,40");
    EXPECT_EQ(ReadFile(dir / "Skins/Skin.ini"), expected);
    EXPECT_EQ(ReadFile(fs::path(SX_RUN_DIR) / "Skins/Skin.ini"), before)
        << "the run folder's own copy must stay untouched";
}

} // namespace
} // namespace sentinax
