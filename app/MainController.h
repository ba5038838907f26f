// The main window's logic: the order of its start-up, its timers, its answers
// to suspend and resume, the monitoring tick, and its clean-up. It reaches the
// window only through MonitorView and TickTimers, the hardware only through
// the HardwareLibrary table, and the rest of the system through Platform, so
// all of it runs in tests without a display.
#pragma once

#include "AdjusterHints.h"
#include "CpuProtection.h"
#include "MonitorView.h"
#include "Platform.h"
#include "ReadoutPresenter.h"

#include "alerts/ChassisPoll.h"
#include "alerts/FrontPanelFeed.h"
#include "alerts/ThresholdEvaluator.h"
#include "alerts/WarningLog.h"
#include "config/AdjusterAccess.h"
#include "config/AppSettings.h"
#include "config/Thresholds.h"
#include "export/ReadingSnapshot.h"
#include "hardware/BoardProfile.h"
#include "hardware/Companions.h"
#include "hardware/DmiReader.h"
#include "hardware/HardwareLibrary.h"
#include "hardware/SensorSampler.h"
#include "hardware/SensorState.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace sentinax {

constexpr int kSamplingTimer = 1;
constexpr int kResumeTimer = 101;
constexpr int kStartupTimerMs = 2000;
constexpr int kResumeTimerMs = 1000;
constexpr int kAutoHideSeconds = 30;
constexpr int kAutoHideIntervalSeconds = 10;

// Power events as the window receives them; the sleep watcher sends the
// query before a suspend and the automatic resume after it.
enum class PowerEvent : int {
    SuspendQuery = 0,
    ResumeSuspend = 7,
    ResumeAutomatic = 18,
};

// Milliseconds between ticks: the interval is split into SamplesPerInterval
// ticks, with the integer division done first (666 ms, not 667, for 3 samples
// in 2 s). The skin file may hold any interval: one below 1 s counts as 1 s
// (0 would make the timer spin) and a huge one is held below the timer's range.
int SamplingPeriodMs(int samplesPerInterval, int intervalSeconds);
constexpr int kMaxIntervalSeconds = 2000000;

class MainController {
public:
    // platformFamily: the application's PlatformFamily (non-zero takes the
    // NT-family paths, which is what every Linux build does). adjusters: where
    // the start-up limit overrides move an adjuster by name. logPath: the
    // warning log, relative to the working folder.
    MainController(AppSettings& settings, int platformFamily, MonitorView& view, TickTimers& timers,
                   AdjusterAccess& adjusters, Platform& platform,
                   CompanionPaths companionPaths = {}, std::string logPath = "log.dat");

    // The start-up sequence. False when the window cannot run: the library is
    // missing (a silent quit) or the sensor chip stays silent (a message, then
    // the window closes). OnDestroy must follow in every case.
    bool OnInitDialog();
    // One timer message for the logical timer id. Re-entered from the modal
    // dialogs that a tick may open.
    void OnTimer(int timerId);
    // Always answers true.
    bool OnPowerBroadcast(PowerEvent event);
    // The clean-up. A second run does nothing more. Once it ran, ticks do
    // nothing, and a tick that was under way (a dialog open inside it) ends
    // as soon as the dialog returns.
    void OnDestroy();
    // The clean-up for a process that is ending without its display (the
    // display connection was lost): everything but the window's own steps
    // (timers, tray icon, sound). Touches neither Qt nor the display.
    void CleanUpWithoutDisplay();
    // The session is ending: clean up now; the process may go on ending.
    bool OnQueryEndSession();

    // Restarts the sampling timer with the current settings' period.
    void RestartSampling();

    // Every evaluation is also handed to these (readings for other programs);
    // they must outlive the controller. None by default: nothing is built.
    void AddSink(ReadingSink* sink) { sinks_.push_back(sink); }

    // The cooling tool was started: the clean-up starts its helper, once.
    void MarkCoolingToolStarted() { coolingToolStarted_ = true; }
    void ResetHiddenTicks() { hiddenTicks_ = 0; }

    // The face's hint line and limit adjusters (AdjusterHints.h).
    void OnAdjusterChanged(const std::string& name) { hints_.OnAdjusterChanged(name); }
    void OnHint(const std::string& name) { hints_.OnHint(name); }
    void OnUserAction() { hints_.UserActed(); }
    void SetStandingHint(StandingHint kind, const std::string& text) {
        hints_.SetStanding(kind, text);
    }
    void ClearStandingHint(StandingHint kind) { hints_.ClearStanding(kind); }

    // What the window's commands need to know: the board's profile, the
    // limits in force (tests set them), and whether the window is hidden.
    const BoardProfile& Profile() const { return profile_; }
    Thresholds& Limits() { return thresholds_; }
    bool WindowHidden() const { return windowHidden_; }
    // The window's commands hid or restored it.
    void SetWindowHidden(bool hidden) { windowHidden_ = hidden; }

private:
    void CleanUp(bool display);
    void HideToTray();
    void StartSamplingTimer();
    // The values one evaluation tick shows and evaluates, each converted once.
    struct TickValues {
        int32_t Vcore = 0, CpuTemp = 0, SysTemp = 0, V33 = 0, V5 = 0, V12 = 0;
        int32_t CpuFan = 0, SysFan = 0, PowerFan = 0;
        bool FanWarnFrozen = false;
    };
    TickValues ConvertForEvaluation();
    // Which items have a monitored reading this tick, by ReadoutItem: decided
    // once per tick, for the evaluation and the exported readings alike
    // (MainControllerReadings.cpp).
    using ItemFlags = std::array<bool, kReadoutCount>;
    ItemFlags Monitored() const;
    // Hands this evaluation to the sinks (MainControllerReadings.cpp).
    void PublishReadings(const TickValues& values, const ItemFlags& monitored);
    // The tick's front-panel warnings (see FeedInputs::Red).
    FeedWarnings ShowAndEvaluate();
    // Evaluates one item and shows the colours the evaluation chose.
    EvaluationResult EvaluateItem(ReadoutItem item, int32_t value, bool fanWarnFrozen = false);
    void FeedFrontPanel(const FeedWarnings& red);
    void DecideAlarm();
    void KeepLastShown();
    void PublishSharedBlock();
    // The library's read status after a read: lost and unchecked items
    // (MainControllerStatus.cpp).
    void ApplyLibraryStatus();
    // Hands the library's messages to the user: stderr and the hint line.
    void RelayLibraryNotices();
    bool ItemEnabled(PresenceItem item) const { return Presence(sensors_.Present, item) != 0; }

    AppSettings& settings_;
    MonitorView& view_;
    TickTimers& timers_;
    AdjusterAccess& adjusters_;
    Platform& platform_;

    // Window state.
    bool windowHidden_ = false;
    int hiddenTicks_ = 0;
    int timerId_ = -1; // zero or negative: no sampling timer
    bool startupPending_ = true;
    bool resumePending_ = false;
    bool pausedForSuspend_ = false;
    bool trayIconCreated_ = false;
    bool coolingToolStarted_ = false;
    std::vector<ReadingSink*> sinks_;
    bool chassisOpen_ = false; // the intrusion latch as last polled

    // Hardware state.
    const int isNtFamily_;
    HardwareLibrary library_;
    bool libraryBound_ = false;
    bool libraryDriverLoaded_ = false;
    uint32_t vendorId_ = 0;
    BoardIdentity identity_;
    BoardProfile profile_;
    CompanionLibraries companions_;
    std::string skinPath_;
    SensorState sensors_;
    std::unique_ptr<SensorSampler> sampler_;
    std::unique_ptr<FrontPanelFeed> feed_;
    bool sharedMemoryReady_ = false;

    // Limits and alerts.
    Thresholds thresholds_{};
    WarningLog log_;
    ThresholdEvaluator evaluator_;
    ChassisPoll chassis_;
    CpuProtection protection_;
    bool ended_ = false; // the clean-up ran

    AdjusterHints hints_;
    ReadoutPresenter readouts_;
};

} // namespace sentinax
