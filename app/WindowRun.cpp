#include "WindowRun.h"

#include "CSentinaxApp.h"
#include "DesktopPrograms.h"

#include "alerts/DesktopWindowFinder.h"
#include "alerts/ui/QtAlarmSound.h"
#include "skin/AdjusterHint.h"

#include <QSessionManager>

namespace sentinax {

namespace {
SystemPlatform::Parts DesktopParts() {
    SystemPlatform::Parts parts;
    parts.Windows = std::make_unique<DesktopWindowFinder>();
    parts.Sound = std::make_unique<QtAlarmSound>();
    parts.Programs = std::make_unique<DesktopPrograms>();
    return parts;
}
} // namespace

WindowRun::WindowRun(CSentinaxApp& app)
    : messages_(ProcessReporter()), reporting_(messages_),
      root_(app.Settings, app.PlatformFamily, app.MetricsFolder, DesktopParts()),
      window_(std::make_unique<CMainDialog>(app, root_.Services())),
      controller_(root_.Build(*window_, *window_)),
      commands_(new MainWindowCommands(*window_, app, controller_, root_.Services().Programs())) {
    CMainDialog* window = window_.get();
    window->Attach(controller_, *commands_);
    QObject::connect(&root_.Signals(), &SignalBridge::received, window,
                     [window](int) { window->OnQueryEndSession(); });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, window,
                     [window](QSessionManager&) { window->OnQueryEndSession(); });
    messages_.ShowOn(window,
                     [window](const std::string& text) { window->SetFieldText(kHintField, text); });
}

// The window goes first: its destruction runs the controller's clean-up, which
// still needs the platform. Its messages reach standard error only.
WindowRun::~WindowRun() {
    messages_.Detach();
    window_.reset();
}

} // namespace sentinax
