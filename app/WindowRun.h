// The run with a window, built in one place and in this order: the reporter
// that shows messages on the window's hint line as well (WindowReporter), the
// services every run has (MonitorRoot, with the desktop's window finder, sound
// player and programs), the window, the controller on it, the window's
// commands; then the requests to end (signals, the session) are connected to
// the window, and the reporter shows on it.
#pragma once

#include "CMainDialog.h"
#include "MainWindowCommands.h"
#include "MonitorRoot.h"
#include "WindowReporter.h"

#include <memory>

namespace sentinax {

class CSentinaxApp;

class WindowRun {
public:
    explicit WindowRun(CSentinaxApp& app);
    ~WindowRun();

    // Runs the window until it ends; the clean-up has run when this returns.
    int Run() { return window_->DoModal(); }

    CMainDialog& Window() { return *window_; }
    MainController& Controller() { return controller_; }

private:
    // First made, last gone: what the services say while they are built
    // waits for the window, and what the clean-up says reaches stderr.
    WindowReporter messages_;
    ScopedReporter reporting_;
    MonitorRoot root_;
    std::unique_ptr<CMainDialog> window_;
    MainController& controller_;
    MainWindowCommands* commands_; // owned by the window
};

} // namespace sentinax
