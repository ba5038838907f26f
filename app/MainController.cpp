#include "MainController.h"

#include <algorithm>

#include "config/LimitConversion.h"
#include "config/Settings.h"
#include "hardware/EcTransaction.h"
#include "hardware/ProfileDecision.h"
#include "hardware/SensorDetection.h"

namespace sentinax {

int SamplingPeriodMs(int samplesPerInterval, int intervalSeconds) {
    if (samplesPerInterval <= 0) samplesPerInterval = 1;
    const int seconds = std::clamp(intervalSeconds, 1, kMaxIntervalSeconds);
    return (1000 / samplesPerInterval) * seconds;
}

MainController::MainController(AppSettings& settings, int platformFamily, MonitorView& view,
                               TickTimers& timers, AdjusterAccess& adjusters, Platform& platform,
                               CompanionPaths companionPaths)
    : settings_(settings), view_(view), timers_(timers), adjusters_(adjusters),
      platform_(platform),
      isNtFamily_(platformFamily), companions_(std::move(companionPaths)) {}

bool MainController::OnInitDialog() {
    view_.SetIcons();

    // Shared memory for other programs' readers comes with the publication
    // of readings; until then there is no block.
    sharedMemoryReady_ = false;

    sensors_.Raw.fill(0);

    if (!platform_.BindLibrary(library_)) {
        view_.PostQuit(0);
        return false;
    }
    libraryBound_ = true;
    libraryDriverLoaded_ = library_.LoadNTHMIO() != 0;
    vendorId_ = library_.GetVid();

    identity_ = ReadBoardIdentity(library_, isNtFamily_ != 0);

    // The identity never changes while the program runs, so every trait is
    // decided here at once; the skin file is one of them.
    profile_ = DecideProfile(platform_.LoadBoardTable(), identity_, vendorId_);
    skinPath_ = profile_.SkinFile;

    view_.SetTitle("Sentinax4");
    view_.LoadSkin(skinPath_);

    chipCommand_ = profile_.ChipCommand;
    companions_.Bind(profile_.HostMode);

    const SleepFn sleep = [this](int ms) { platform_.Sleep(ms); };
    if (DetectSensorHardware(library_, profile_, sensors_, sleep) == DetectionResult::ChipSilent) {
        view_.ShowMessage(DriverFailureMessage(platform_.VersionText()));
        view_.CloseWindow();
        return false;
    }

    view_.LayoutControls(profile_);
    view_.CreateGraphs(profile_, settings_.Celsius != 0);

    timerId_ = timers_.SetTimer(kSamplingTimer, kStartupTimerMs);

    view_.StartAnimation();

    if (profile_.HostMode != 3) {
        trayIconCreated_ = view_.CreateTrayIcon();
        if (trayIconCreated_) windowHidden_ = true;
    }

    thresholds_ = ConvertLimits(settings_, profile_, adjusters_);
    return true;
}

void MainController::HideToTray() {
    view_.HideWindow();
    windowHidden_ = true;
}

void MainController::StartSamplingTimer() {
    timerId_ = timers_.SetTimer(kSamplingTimer,
                                SamplingPeriodMs(profile_.SamplesPerInterval, settings_.IntervalTime));
}

void MainController::RestartSampling() {
    if (timerId_ > 0) timers_.KillTimer(kSamplingTimer);
    StartSamplingTimer();
}

void MainController::OnTimer(int timerId) {
    if (startupPending_) {
        if (profile_.HostMode != 3) HideToTray();
        timers_.KillTimer(kSamplingTimer);
        if (profile_.AutoHide) settings_.IntervalTime = kAutoHideIntervalSeconds;
        hiddenTicks_ = 0;
        StartSamplingTimer();
    }

    if (profile_.AutoHide && hiddenTicks_ >= kAutoHideSeconds) {
        HideToTray();
        hiddenTicks_ = 0;
    }

    if (resumePending_) {
        resumePending_ = false;
        library_.EnableSMSCHWMonitor();
        library_.ApEnableATIISA();
    }

    if (timerId == kResumeTimer) {
        timers_.KillTimer(kResumeTimer);
        StartSamplingTimer();
        resumePending_ = true;
    } else if (MonitoringSuppressed()) {
        RedisplayLastShown();
    } else if (!sensors_.SensorsReady()) {
        KeepLastShown();
    } else {
        ReadSensors();
        ShowAndEvaluate();
        KeepLastShown();
    }

    PublishSharedBlock();
    startupPending_ = false;
    if (profile_.AutoHide && !windowHidden_) hiddenTicks_ += settings_.IntervalTime;
}

bool MainController::MonitoringSuppressed() const {
    // Monitoring pauses while a listed program's window exists; no program is
    // listed until the window finder is in place.
    return false;
}

void MainController::RedisplayLastShown() {}

void MainController::ReadSensors() {
    if (profile_.SensorSource == SensorSourceKind::EmbeddedController) {
        uint8_t buffer[2] = {2, 0};
        const uint8_t cpuTemp[2] = {0x13, 0x00};
        EcTransaction(library_, cpuTemp, 2, false, buffer);
        sensors_.Params[profile_.CpuTempSlot] = buffer[0];

        buffer[0] = 2;
        buffer[1] = 0;
        const uint8_t cpuFan[2] = {0x13, 0x14};
        EcTransaction(library_, cpuFan, 2, false, buffer);
        sensors_.Raw[profile_.CpuFanSlot] = (buffer[1] * 256 + buffer[0]) * 3;

        buffer[0] = 2;
        buffer[1] = 0;
        const uint8_t sysTemp[2] = {0x14, 0x00};
        EcTransaction(library_, sysTemp, 2, false, buffer);
        sensors_.Raw[7] = buffer[0];
        return;
    }
    sensors_.Params[0] = static_cast<uint8_t>(chipCommand_ & 0xFF);
    sensors_.Raw[7] = chipCommand_;
    library_.DetectLM75(sensors_.Params.data(), profile_.ChipSelector);
    library_.ValueRAM(sensors_.Raw.data());
}

void MainController::ShowAndEvaluate() {
    // Conversion, display and evaluation of the items come with the sampling
    // logic; the values read so far are kept as they are.
}

void MainController::KeepLastShown() {
    SensorReadings& last = sensors_.LastShown;
    const RawValues& raw = sensors_.Raw;
    last.CpuTempRaw = sensors_.Params[profile_.CpuTempSlot];
    last.SystemTemp = raw[7];
    last.Vcore = raw[0];
    last.V33 = raw[profile_.V33Slot];
    last.V5 = raw[3];
    last.V12 = raw[profile_.V12Slot];
    last.CpuFan = raw[profile_.CpuFanSlot];
    last.SysFan = raw[profile_.SysFanSlot];
    last.PowerFan = raw[profile_.PowerFanSlot];
}

void MainController::PublishSharedBlock() {
    if (!sharedMemoryReady_) return;
}

bool MainController::OnPowerBroadcast(int event) {
    switch (event) {
    case kPowerSuspendQuery:
        pausedForSuspend_ = true;
        timers_.KillTimer(kSamplingTimer);
        break;
    case kPowerResumeSuspend:
        if (pausedForSuspend_) timers_.SetTimer(kResumeTimer, kResumeTimerMs);
        break;
    case kPowerResumeAutomatic:
        pausedForSuspend_ = false;
        timers_.SetTimer(kResumeTimer, kResumeTimerMs);
        if (libraryBound_) library_.DetectLM78();
        break;
    default:
        break;
    }
    return true;
}

void MainController::OnDestroy() {
    // Every step releases what it owns and forgets it, so that a second run
    // (the session ending, then the window being destroyed) does nothing more.
    if (timerId_ > 0) {
        timers_.KillTimer(kSamplingTimer);
        timerId_ = 0;
    }
    timers_.KillTimer(kResumeTimer);
    if (profile_.HostMode != 3 && trayIconCreated_) {
        view_.DeleteTrayIcon();
        trayIconCreated_ = false;
    }
    frostlineStarted_ = false;
    // The library module stays loaded until the process ends.
    if (libraryDriverLoaded_) {
        library_.UnloadNTHMIO();
        libraryDriverLoaded_ = false;
    }
    sharedMemoryReady_ = false;
    // Only the settings changed during the run are written, and a save clears
    // their flags, so a second run writes nothing.
    if (!skinPath_.empty()) SaveSettings(skinPath_, settings_);
    companions_.Stop();
}

bool MainController::OnQueryEndSession() {
    OnDestroy();
    return true;
}

} // namespace sentinax
