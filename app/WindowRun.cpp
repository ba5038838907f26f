#include "WindowRun.h"

#include "CSentinaxApp.h"
#include "DesktopPrograms.h"
#include "JournalReporter.h"

#include "alerts/DesktopWindowFinder.h"
#include "alerts/ui/QtAlarmSound.h"

#include <QSessionManager>

namespace sentinax {

namespace {
SystemPlatform::Parts DesktopParts() {
    SystemPlatform::Parts parts;
    parts.Windows = std::make_unique<DesktopWindowFinder>();
    parts.Sound = std::make_unique<QtAlarmSound>();
    parts.Programs = std::make_unique<DesktopPrograms>();
    // The same lines as the run without a display: one prefix, and the
    // journal's priority where standard error is the journal.
    parts.Report = [](const std::string& message) {
        JournalReporter::ForStandardError().Report(MessagePriority::Warning, message);
    };
    return parts;
}
} // namespace

WindowRun::WindowRun(CSentinaxApp& app)
    : root_(app.Settings, app.PlatformFamily, app.MetricsFolder, DesktopParts()),
      window_(std::make_unique<CMainDialog>(app, root_.Services())),
      controller_(root_.Build(*window_, *window_)),
      commands_(new MainWindowCommands(*window_, app, controller_, root_.Services().Programs())) {
    CMainDialog* window = window_.get();
    window->Attach(controller_, *commands_);
    QObject::connect(&root_.Signals(), &SignalBridge::received, window,
                     [window](int) { window->OnQueryEndSession(); });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, window,
                     [window](QSessionManager&) { window->OnQueryEndSession(); });
}

// The window goes first: its destruction runs the controller's clean-up, which
// still needs the platform.
WindowRun::~WindowRun() {
    window_.reset();
}

} // namespace sentinax
