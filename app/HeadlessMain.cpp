// sentinax4-headless (also `sentinax4 --headless`): the monitor without a
// display. The same root as the window's run (MonitorRoot) with HeadlessView
// in place of the window; Qt Core's event loop runs the ticks. Messages go to
// the process's reporter, standard error with syslog priorities under systemd
// (hardware/JournalReporter.h), and
// systemd hears READY, WATCHDOG and STOPPING (SystemdNotifier).
#include "CommandLine.h"
#include "HeadlessParts.h"
#include "HeadlessView.h"
#include "InstanceLock.h"
#include "MonitorRoot.h"
#include "SystemdNotifier.h"

#include "alerts/power/ScheduledPowerOff.h"
#include "hardware/Reporter.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QEventLoop>
#include <QTimer>
#include <clocale>
#include <cstdlib>
#include <iostream>
#include <unistd.h>

namespace {

// Recorded like the window's application object does: non-zero takes the
// paths every Linux build takes.
constexpr int kPlatformFamily = -1;

sentinax::SystemPlatform::Parts HeadlessParts() {
    using namespace sentinax;
    SystemPlatform::Parts parts;
    parts.Windows = std::make_unique<NoWindows>();
    parts.Sound = std::make_unique<NoSound>();
    parts.Programs = std::make_unique<NoPrograms>();
    return parts;
}

} // namespace

int main(int argc, char** argv) {
    using namespace sentinax;
    CommandLine line;
    if (const std::optional<int> done = StartCommandLine(argc, argv, false, SENTINAX_VERSION, line))
        return *done;
    Reporter& report = ProcessReporter();

    int qtArgc = 1;
    QCoreApplication app(qtArgc, argv);
    // Numbers in log.dat and the settings always use a point.
    std::setlocale(LC_NUMERIC, "C");

    // The folder it was started in is its working folder (the service's
    // StateDirectory): log.dat goes there; the settings come from their file.
    InstanceLock lock;
    const InstanceLock::Result locked = lock.Acquire();
    if (locked == InstanceLock::Result::Failed) {
        report.Report(MessagePriority::Warning,
                      "no usable folder for the single-instance lock; running without it");
    } else if (locked != InstanceLock::Result::Acquired) {
        report.Report(MessagePriority::Error, "another monitor is already running");
        return 1;
    }

    const SystemdNotifier systemd = SystemdNotifier::FromEnvironment();
    AppSettings settings;
    MonitorRoot root(settings, kPlatformFamily, line.MetricsFolder, HeadlessParts());
    ScheduledPowerOff powerOff(
        QDBusConnection::systemBus(),
        [&report](MessagePriority priority, const std::string& message) {
            report.Report(priority, message);
        },
        ScheduledPowerOff::Timing{});

    QEventLoop loop;
    bool ending = false;
    int exitCode = 0;
    const auto quit = [&](int code) {
        ending = true;
        exitCode = code;
        loop.exit(code);
    };
    HeadlessView view(settings,
                      line.SettingsFile.empty() ? kHeadlessSettingsFile : line.SettingsFile, report,
                      powerOff, quit);
    MainController& controller = root.Build(view, view);

    // A request to end during the countdown withdraws logind's schedule (the
    // dialog's Cancel); the clean-up then runs and the loop ends.
    QObject::connect(&root.Signals(), &SignalBridge::received, &app, [&](int signal) {
        report.Report(MessagePriority::Info, "ending on signal " + std::to_string(signal));
        systemd.Send("STOPPING=1");
        powerOff.Cancel();
        controller.OnQueryEndSession();
        quit(0);
    });

    QTimer watchdog;
    if (const int64_t ping =
            WatchdogPingMs(std::getenv("WATCHDOG_USEC"), std::getenv("WATCHDOG_PID"), ::getpid());
        ping > 0) {
        QObject::connect(&watchdog, &QTimer::timeout, &app,
                         [&systemd] { systemd.Send("WATCHDOG=1"); });
        watchdog.start(static_cast<int>(ping));
    }

    if (controller.OnInitDialog()) {
        systemd.Send("READY=1\nSTATUS=monitoring");
        if (!ending)
            loop.exec();
    } else {
        report.Report(MessagePriority::Error, "monitoring could not start");
        exitCode = 1;
    }
    systemd.Send("STOPPING=1");
    controller.OnDestroy();
    lock.Release();
    return exitCode;
}
