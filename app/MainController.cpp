#include "MainController.h"

#include "alerts/AlarmDecision.h"
#include "alerts/AlarmSound.h"
#include "alerts/HmSharedBlock.h"
#include "alerts/SharedSensorMemory.h"
#include "alerts/Suppression.h"
#include "alerts/WindowFinder.h"
#include "app/ExternalPrograms.h"
#include "config/LimitConversion.h"
#include "config/LimitItem.h"
#include "config/Settings.h"
#include "hardware/ProfileDecision.h"
#include "hardware/ReadoutText.h"
#include "hardware/SensorDetection.h"
#include "skin/AdjusterHint.h"

#include <algorithm>

namespace sentinax {

int SamplingPeriodMs(int samplesPerInterval, int intervalSeconds) {
    if (samplesPerInterval <= 0)
        samplesPerInterval = 1;
    const int seconds = std::clamp(intervalSeconds, 1, kMaxIntervalSeconds);
    return (1000 / samplesPerInterval) * seconds;
}

MainController::MainController(AppSettings& settings, int platformFamily, MonitorView& view,
                               TickTimers& timers, AdjusterAccess& adjusters, Platform& platform,
                               CompanionPaths companionPaths, std::string logPath)
    : settings_(settings), view_(view), timers_(timers), adjusters_(adjusters), platform_(platform),
      isNtFamily_(platformFamily), companions_(std::move(companionPaths)), log_(std::move(logPath)),
      evaluator_(log_), chassis_(log_), protection_(view, platform, library_, profile_, sensors_),
      hints_(settings, view, thresholds_, profile_, protection_),
      readouts_(view, settings, profile_, sensors_) {}

// ---------------------------------------------------------------------------
// Start-up

bool MainController::OnInitDialog() {
    view_.SetIcons();
    sharedMemoryReady_ = platform_.SharedMemory().Create();
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
    // Said in the hint line until the user acts, not only until the pointer moves.
    if (!settings_.SaveRefused.empty())
        hints_.Remember(StandingHint::SkinSettings, kUnreadableSettingsHint);
    else if (!settings_.MissingFileText.empty())
        hints_.Remember(StandingHint::SkinSettings, kMissingSkinHint);
    // Said once: a desktop that hides its windows' titles cannot pause the monitor.
    if (const std::string why = platform_.Windows().Limitation(); !why.empty()) {
        platform_.Report(why);
        hints_.Remember(StandingHint::TitleWatch, kNoTitleWatchHint);
    }
    hints_.ShowStanding();

    sampler_ = std::make_unique<SensorSampler>(profile_);
    companions_.Bind(profile_.HostMode);
    feed_ = std::make_unique<FrontPanelFeed>(companions_.MainEntry(), companions_.PanoraControl(),
                                             profile_.PanoraSysFanExcluded);

    const SleepFn sleep = [this](int ms) { platform_.Sleep(ms); };
    DetectionResult detection = DetectSensorHardware(library_, profile_, sensors_, sleep);
    if (detection == DetectionResult::ControllerSilent) {
        // Without an answering controller its leftover buffer would read as a
        // few degrees and a few rpm; the board's chip is read instead.
        platform_.Report("The embedded controller does not answer (it needs raw port access, see "
                         "the channel map); reading the sensors through the hardware library.");
        profile_.SensorSource = SensorSourceKind::Library;
        detection = DetectSensorHardware(library_, profile_, sensors_, sleep);
    }
    if (detection == DetectionResult::ChipSilent) {
        view_.ShowMessage(DriverFailureMessage(platform_.VersionText()));
        view_.CloseWindow();
        return false;
    }

    protection_.Start();
    view_.LayoutControls(profile_);
    view_.CreateGraphs(profile_, settings_.Celsius != 0);

    timerId_ = timers_.SetTimer(kSamplingTimer, kStartupTimerMs);

    view_.StartAnimation();

    if (profile_.HostMode != HostMode::PanelDisplay) {
        trayIconCreated_ = view_.CreateTrayIcon();
        if (trayIconCreated_)
            windowHidden_ = true;
    }

    thresholds_ = ConvertLimits(settings_, profile_, adjusters_);
    RelayLibraryNotices();
    return true;
}

void MainController::HideToTray() {
    view_.HideWindow();
    windowHidden_ = true;
}

void MainController::StartSamplingTimer() {
    timerId_ = timers_.SetTimer(
        kSamplingTimer, SamplingPeriodMs(profile_.SamplesPerInterval, settings_.IntervalTime));
}

void MainController::RestartSampling() {
    if (timerId_ > 0)
        timers_.KillTimer(kSamplingTimer);
    StartSamplingTimer();
}

// ---------------------------------------------------------------------------
// The tick

void MainController::OnTimer(int timerId) {
    if (!sampler_ || ended_)
        return; // no tick before a finished start-up or after the clean-up

    const bool firstTick = startupPending_;
    if (startupPending_) {
        if (profile_.HostMode != HostMode::PanelDisplay)
            HideToTray();
        timers_.KillTimer(kSamplingTimer);
        if (profile_.AutoHide)
            settings_.IntervalTime = kAutoHideIntervalSeconds;
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
    } else if (MonitoringSuppressed(platform_.Windows())) {
        readouts_.RedisplayLastShown();
    } else if (!sensors_.HardwareReady) {
        KeepLastShown();
    } else {
        // A missing CPU temperature does not stop the other readings.
        protection_.BeforeRead(
            SamplingPeriodMs(profile_.SamplesPerInterval, settings_.IntervalTime));
        sampler_->Read(library_, sensors_);
        ApplyLibraryStatus();
        const bool evaluationTick = sampler_->FilterCpuFan(sensors_);
        sampler_->RearrangeTemperatures(sensors_, firstTick);
        protection_.AfterRead();
        FeedWarnings red{}; // none on a tick without evaluation
        if (evaluationTick && !pausedForSuspend_)
            red = ShowAndEvaluate();
        if (ended_)
            return; // the program ended while a dialog of this tick was open
        FeedFrontPanel(red);
        DecideAlarm();
        KeepLastShown();
    }

    RelayLibraryNotices();
    PublishSharedBlock();
    startupPending_ = false;
    if (profile_.AutoHide && !windowHidden_)
        hiddenTicks_ += settings_.IntervalTime;
}

EvaluationResult MainController::EvaluateItem(ReadoutItem item, int32_t value, bool frozen) {
    const EvaluationResult result = evaluator_.Evaluate(item, value, thresholds_, frozen);
    view_.SetItemColours(item, result.Colours.Unlit, result.Colours.Lit);
    return result;
}

// Every conversion of an evaluation tick happens here, in place in the slots
// (the shared block shows the converted values), and before any item is shown
// or evaluated: the over-temperature countdown runs further ticks nested in
// its loop, which read and convert the slots again, so whatever the outer tick
// does after the countdown must use its own values, converted exactly once.
MainController::TickValues MainController::ConvertForEvaluation() {
    RawValues& raw = sensors_.Raw;
    const BoardProfile& p = profile_;
    TickValues v;
    v.Vcore = raw[RawSlot::Vcore];
    v.CpuTemp = sensors_.Params[p.CpuTempSlot] - p.CpuTempOffset + p.CpuTempCorrection;
    if (ItemEnabled(PresenceItem::SystemTemp) && sensors_.HasReading(ReadoutItem::SysTemp) &&
        p.SysTempUsesCpuOffset)
        raw[RawSlot::SystemTemp] -= p.CpuTempOffset;
    v.SysTemp = raw[RawSlot::SystemTemp];
    v.V33 = raw[p.V33Slot];
    if (ItemEnabled(PresenceItem::V5))
        v.V5 = ConvertFiveVolt(p, raw);
    if (ItemEnabled(PresenceItem::V12))
        v.V12 = ConvertTwelveVolt(p, raw);
    if (sensors_.HasReading(ReadoutItem::CpuFan))
        v.CpuFan = sampler_->ConvertCpuFan(sensors_);
    else
        v.CpuFan = raw[p.CpuFanSlot];
    if (sensors_.HasReading(ReadoutItem::CpuTemp))
        sampler_->UpdateFanWarnFrozen(sensors_);
    v.FanWarnFrozen = sampler_->FanWarnFrozen();
    v.SysFan = sampler_->ConvertSysFan(sensors_);
    v.PowerFan = raw[p.PowerFanSlot];
    return v;
}

// Each item is shown and evaluated before the next one, in a fixed order; the
// CPU temperature's countdown dialog therefore runs before the later items of
// the same tick are treated. An item without a reading keeps what it shows.
FeedWarnings MainController::ShowAndEvaluate() {
    const BoardProfile& p = profile_;
    const TickValues v = ConvertForEvaluation();
    const ItemFlags monitored = Monitored();
    auto checked = [&](ReadoutItem item) {
        return monitored[static_cast<int>(item)] && sensors_.Checked(item);
    };
    FeedWarnings red{};

    auto voltage = [&](ReadoutItem item, PresenceItem presence, int32_t mv, bool zeroIsNA) {
        if (!ItemEnabled(presence) || sensors_.IsLost(item)) {
            view_.SetItemText(item, kNotAvailable);
            return;
        }
        view_.AppendPoint(item, Volts(mv));
        view_.SetItemText(item, zeroIsNA && mv == 0 ? std::string(kNotAvailable) : VoltsText(mv));
        if (checked(item))
            EvaluateItem(item, mv);
    };
    // A lost source shows "N A" (an unanswered controller keeps its last value).
    auto lost = [&](ReadoutItem item) {
        if (sensors_.IsLost(item))
            view_.SetItemText(item, kNotAvailable);
        return sensors_.IsLost(item);
    };

    voltage(ReadoutItem::Vcore, PresenceItem::Vcore, v.Vcore, true);

    if (!lost(ReadoutItem::CpuTemp) && sensors_.HasReading(ReadoutItem::CpuTemp)) {
        readouts_.ShowCpuTemperature(v.CpuTemp, true);
        if (checked(ReadoutItem::CpuTemp)) {
            const EvaluationResult cpu = EvaluateItem(ReadoutItem::CpuTemp, v.CpuTemp);
            Warned(red, FeedItem::CpuTemp) = cpu.CountAtLeastThree;
            if (protection_.AfterEvaluation(
                    cpu.ReachedThree, evaluator_.WarningActive(ReadoutItem::CpuTemp), v.CpuTemp)) {
                // Said at once: the next evaluation may be a whole interval away.
                PublishReadings(v, monitored);
                const bool accepted = view_.RunOverTemperatureDialog();
                protection_.CountdownEnded();
                if (ended_)
                    return red; // a request to end closed it: no power-off
                if (accepted)
                    platform_.PowerOff();
            }
        }
    } else if (!sensors_.CpuTempValid) {
        view_.SetItemText(ReadoutItem::CpuTemp, kNotAvailable);
    }

    if (!ItemEnabled(PresenceItem::SystemTemp)) {
        view_.SetItemText(ReadoutItem::SysTemp, kNotAvailable);
    } else if (!lost(ReadoutItem::SysTemp) && sensors_.HasReading(ReadoutItem::SysTemp)) {
        readouts_.ShowSystemTemperature(v.SysTemp);
        if (checked(ReadoutItem::SysTemp))
            Warned(red, FeedItem::SystemTemp) =
                EvaluateItem(ReadoutItem::SysTemp, v.SysTemp).CountAtLeastThree;
    }

    voltage(ReadoutItem::V33, PresenceItem::V33, v.V33, false);
    voltage(ReadoutItem::V5, PresenceItem::V5, v.V5, true);
    voltage(ReadoutItem::V12, PresenceItem::V12, v.V12, false);

    if (!lost(ReadoutItem::CpuFan) && sensors_.HasReading(ReadoutItem::CpuFan)) {
        view_.AppendPoint(ReadoutItem::CpuFan, v.CpuFan);
        view_.SetItemText(ReadoutItem::CpuFan, IntText(v.CpuFan));
        if (p.CpuFanUnmonitored) {
            view_.SetItemText(ReadoutItem::CpuFan, kNotAvailable);
        } else if (checked(ReadoutItem::CpuFan)) {
            Warned(red, FeedItem::CpuFan) =
                EvaluateItem(ReadoutItem::CpuFan, v.CpuFan, v.FanWarnFrozen).CountAtLeastThree;
        }
    }

    if (!lost(ReadoutItem::SysFan)) {
        view_.AppendPoint(ReadoutItem::SysFan, p.SysFanShownZero ? 0 : v.SysFan);
        view_.SetItemText(ReadoutItem::SysFan, p.SysFanShownZero ? "0" : IntText(v.SysFan));
        if (checked(ReadoutItem::SysFan))
            Warned(red, FeedItem::SysFan) =
                EvaluateItem(ReadoutItem::SysFan, v.SysFan, v.FanWarnFrozen).CountAtLeastThree;
    }

    if (!p.NoPowerFan && !lost(ReadoutItem::PowerFan)) {
        view_.AppendPoint(ReadoutItem::PowerFan, v.PowerFan);
        const bool shownNA = p.PowerFanShownNA || p.PowerFanUnmonitored;
        view_.SetItemText(ReadoutItem::PowerFan,
                          shownNA ? std::string(kNotAvailable) : IntText(v.PowerFan));
        if (checked(ReadoutItem::PowerFan))
            EvaluateItem(ReadoutItem::PowerFan, v.PowerFan);
    }

    if (p.ChassisSupported) {
        const uint32_t latch = library_.ChassisIntrusion();
        chassisOpen_ = latch != 0;
        if (chassis_.Poll(latch)) {
            const bool accepted = view_.RunChassisDialog();
            if (ended_)
                return red;
            if (chassis_.DialogClosed(accepted))
                library_.ChassisClear();
            else if (!view_.RemindsOfAnOpenCase())
                chassis_.WaitForClear();
        }
    }
    PublishReadings(v, monitored);
    return red;
}

void MainController::FeedFrontPanel(const FeedWarnings& red) {
    FeedInputs in;
    in.CpuTempByte = sensors_.Params[profile_.CpuTempSlot];
    in.SystemTemp = sensors_.Raw[RawSlot::SystemTemp];
    in.CpuFan = sensors_.Raw[profile_.CpuFanSlot];
    in.SysFan = sensors_.Raw[profile_.SysFanSlot];
    in.Red = red;
    in.PausedForSuspend = pausedForSuspend_;
    feed_->Feed(in, Presence(sensors_.Present, PresenceItem::SysFan));
}

void MainController::DecideAlarm() {
    switch (sentinax::DecideAlarm(evaluator_.AnyWarningActive(), settings_.SoundWarning)) {
    case AlarmAction::StopSound:
        platform_.Sound().Stop();
        break;
    case AlarmAction::ShowAndPlay:
        view_.ShowForWarning(profile_.HostMode == HostMode::PanelDisplay);
        platform_.Sound().StartLoop(AlarmSoundFile);
        break;
    case AlarmAction::ShowAndStop:
        view_.ShowForWarning(profile_.HostMode == HostMode::PanelDisplay);
        platform_.Sound().Stop();
        break;
    }
}

void MainController::KeepLastShown() {
    SensorReadings& last = sensors_.LastShown;
    const RawValues& raw = sensors_.Raw;
    last.CpuTempRaw = sensors_.Params[profile_.CpuTempSlot];
    last.SystemTemp = raw[RawSlot::SystemTemp];
    last.Vcore = raw[RawSlot::Vcore];
    last.V33 = raw[profile_.V33Slot];
    last.V5 = raw[RawSlot::V5];
    last.V12 = raw[profile_.V12Slot];
    last.CpuFan = raw[profile_.CpuFanSlot];
    last.SysFan = raw[profile_.SysFanSlot];
    last.PowerFan = raw[profile_.PowerFanSlot];
}

void MainController::PublishSharedBlock() {
    if (!sharedMemoryReady_)
        return;
    platform_.SharedMemory().Write(PackSharedBlock(sensors_.Raw, sensors_.Params, profile_));
}

} // namespace sentinax
