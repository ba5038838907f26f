// The part of the program that every run builds, with or without a window:
// the platform, the timers, the readings for Prometheus, the bridge from
// SIGTERM/SIGHUP/SIGINT, the sleep watcher, and the controller that runs the
// tick, each handed its collaborators here. The window's run (CSentinaxApp)
// and the run without a display (HeadlessMain.cpp) add their view on top.
// Only Qt Core and D-Bus: no display, no widgets.
#pragma once

#include "MainController.h"
#include "QtTickTimers.h"
#include "SignalBridge.h"
#include "SleepWatcher.h"
#include "SystemPlatform.h"

#include <memory>
#include <string>

namespace sentinax {

class MonitorRoot {
public:
    // settings: the run's settings, which must outlive the root.
    // metricsFolder: where the readings for Prometheus go; empty: nowhere.
    MonitorRoot(AppSettings& settings, int platformFamily, const std::string& metricsFolder,
                SystemPlatform::Parts parts);
    ~MonitorRoot();

    Platform& Services() { return platform_; }
    // Emits received(signal) when the process is asked to end.
    SignalBridge& Signals() { return *signals_; }

    // Builds the controller on this view and connects the timers and the
    // sleep watcher to it; a second call returns the same controller.
    MainController& Build(MonitorView& view, AdjusterAccess& adjusters);

private:
    AppSettings& settings_;
    const int platformFamily_;
    SystemPlatform platform_;
    QtTickTimers timers_;
    std::unique_ptr<ReadingSink> metrics_;
    std::unique_ptr<SignalBridge> signals_;
    std::unique_ptr<SleepWatcher> sleepWatcher_;
    std::unique_ptr<MainController> controller_;
};

} // namespace sentinax
