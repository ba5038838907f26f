// One monitoring tick's logic on the demo board: the read through the real
// hardware library's simulator, the conversions, the evaluation of every item,
// the alarm decision and the shared block; the window does nothing (painting
// is measured by the widgets benchmark).
#include "alerts/AlarmSound.h"
#include "alerts/SharedSensorMemory.h"
#include "alerts/WindowFinder.h"
#include "app/ExternalPrograms.h"
#include "app/MainController.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace sentinax {
namespace {

struct NullView : MonitorView {
    void SetIcons() override {}
    void SetTitle(const std::string&) override {}
    void LoadSkin(const std::string&) override {}
    void LayoutControls(const BoardProfile&) override {}
    void CreateGraphs(const BoardProfile&, bool) override {}
    void StartAnimation() override {}
    bool CreateTrayIcon() override { return true; }
    void DeleteTrayIcon() override {}
    void HideWindow() override {}
    void ShowMessage(const std::string&) override {}
    void CloseWindow() override {}
    void PostQuit(int) override {}
    void SetTrayTip(const std::string&) override {}
    void SetItemText(ReadoutItem, const std::string& text) override {
        benchmark::DoNotOptimize(text.data());
    }
    void SetItemColours(ReadoutItem, uint32_t, uint32_t) override {}
    void AppendPoint(ReadoutItem, double value) override { benchmark::DoNotOptimize(value); }
    void ShowForWarning(bool) override {}
    bool RunOverTemperatureDialog() override { return false; }
    bool RunChassisDialog() override { return false; }
};

struct NullTimers : TickTimers {
    int SetTimer(int id, int) override { return id; }
    void KillTimer(int) override {}
};

struct NoAdjusters : AdjusterAccess {
    void SetSliderPosition(const std::string&, int) override {}
};

struct NoWindows : WindowFinder {
    bool WindowExists(const std::string&) override { return false; }
};

struct NoSound : AlarmSound {
    void StartLoop(const std::string&) override {}
    void Stop() override {}
};

struct SimulatorPlatform : Platform {
    NoWindows windows;
    NoSound sound;
    SharedSensorMemory shared{"/sx-bench-" + std::to_string(getpid()),
                              "/sx-bench-lock-" + std::to_string(getpid())};
    bool BindLibrary(HardwareLibrary& lib) override {
        return BindHardwareLibrary(lib, SX_RUN_DIR "/libhmio.so");
    }
    void Sleep(int) override {}
    std::string VersionText() override { return "6.1"; }
    BoardTable LoadBoardTable() override { return {}; }
    WindowFinder& Windows() override { return windows; }
    AlarmSound& Sound() override { return sound; }
    SharedSensorMemory& SharedMemory() override { return shared; }
    void PowerOff() override {}
    void Report(const std::string&) override {}
    struct NoPrograms : ExternalPrograms {
        void StartCoolingTool() override {}
        void StartCoolingHelper() override {}
        void RunSystemInfo() override {}
        void OpenWithBrowser(const std::string&) override {}
    } programs;
    ExternalPrograms& Programs() override { return programs; }
};

void BM_EvaluationTick(benchmark::State& state) {
    setenv("HMIO_SCENARIO", SX_RUN_DIR "/scenarios/demo.scenario", 1);
    unsetenv("HMIO_TRACE");
    AppSettings settings;
    settings.IntervalTime = 1;
    settings.Celsius = 1;
    for (int i = 0; i < kLimitCount; ++i)
        settings.LimitPosition[i] = 50;
    NullView view;
    NullTimers timers;
    NoAdjusters adjusters;
    SimulatorPlatform platform;
    MainController controller(settings, -1, view, timers, adjusters, platform, {}, "/dev/null");
    if (!controller.OnInitDialog()) {
        state.SkipWithError("the simulated board did not start");
        return;
    }
    controller.OnTimer(kSamplingTimer);
    for (auto _ : state)
        controller.OnTimer(kSamplingTimer);
    controller.OnDestroy();
}
BENCHMARK(BM_EvaluationTick);

} // namespace
} // namespace sentinax

BENCHMARK_MAIN();
