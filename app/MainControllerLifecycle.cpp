// The main window's answers to power events, and its clean-up.
#include "MainController.h"

#include "alerts/AlarmSound.h"
#include "alerts/SharedSensorMemory.h"
#include "app/ExternalPrograms.h"
#include "config/Settings.h"

namespace sentinax {

bool MainController::OnPowerBroadcast(PowerEvent event) {
    switch (event) {
    case PowerEvent::SuspendQuery:
        pausedForSuspend_ = true;
        timers_.KillTimer(kSamplingTimer);
        break;
    case PowerEvent::ResumeSuspend:
        if (pausedForSuspend_)
            timers_.SetTimer(kResumeTimer, kResumeTimerMs);
        break;
    case PowerEvent::ResumeAutomatic:
        pausedForSuspend_ = false;
        timers_.SetTimer(kResumeTimer, kResumeTimerMs);
        if (libraryBound_)
            library_.DetectLM78();
        break;
    default:
        break;
    }
    return true;
}

void MainController::OnDestroy() {
    CleanUp(true);
}

void MainController::CleanUpWithoutDisplay() {
    CleanUp(false);
}

void MainController::CleanUp(bool display) {
    ended_ = true;
    // Every step releases what it owns and forgets it, so that a second run
    // (the session ending, then the window being destroyed) does nothing more.
    if (display && timerId_ > 0) {
        timers_.KillTimer(kSamplingTimer);
        timerId_ = 0;
    }
    if (display)
        timers_.KillTimer(kResumeTimer);
    if (display && profile_.HostMode != HostMode::PanelDisplay && trayIconCreated_) {
        view_.DeleteTrayIcon();
        trayIconCreated_ = false;
    }
    if (coolingToolStarted_) {
        platform_.Programs().StartCoolingHelper();
        coolingToolStarted_ = false;
    }
    // The library module stays loaded until the process ends.
    if (libraryDriverLoaded_) {
        library_.UnloadNTHMIO();
        libraryDriverLoaded_ = false;
    }
    if (display)
        platform_.Sound().Stop();
    platform_.SharedMemory().Teardown();
    sharedMemoryReady_ = false;
    // Only the settings changed during the run are written, and a save clears
    // their flags, so a second run writes nothing.
    if (!skinPath_.empty())
        SaveSettings(skinPath_, settings_);
    companions_.Stop();
}

bool MainController::OnQueryEndSession() {
    OnDestroy();
    return true;
}

} // namespace sentinax
