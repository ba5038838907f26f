#include "CSentinaxApp.h"

#include "WindowRun.h"

#include "hardware/Reporter.h"

#include <QMessageBox>
#include <clocale>

// Q_INIT_RESOURCE declares a function of the global namespace; the icon's
// resources sit in a static library and must be registered by hand.
static void InitIconResources() {
    Q_INIT_RESOURCE(icons);
}

namespace sentinax {

CSentinaxApp::CSentinaxApp(int& argc, char** argv) : QApplication(argc, argv) {
    // No name of our own: captions use the program's file name, as message
    // boxes of the framework do.
    setQuitOnLastWindowClosed(false);
    // Qt has just taken the whole locale from the environment. Numbers in
    // log.dat, the settings file, the readouts and the graph labels always use
    // a point, whatever the user's language: the segment readouts have no comma.
    std::setlocale(LC_NUMERIC, "C");
}

bool CSentinaxApp::InitInstance() {
    const InstanceLock::Result lock = instanceLock_.Acquire();
    if (lock == InstanceLock::Result::Failed) {
        // No folder can hold the lock: that is no other copy running, and a
        // monitor that refused to start would protect nothing.
        ReportMessage(MessagePriority::Warning,
                      "no usable folder for the single-instance lock; running without it");
    } else if (lock != InstanceLock::Result::Acquired) {
        QMessageBox box(QMessageBox::NoIcon, applicationName(),
                        QString::fromLatin1(kAlreadyRunning), QMessageBox::Ok);
        box.exec();
        return false;
    }
    const QIcon icon = MakeAppIcon();
    for (QIcon& slot : Icons)
        slot = icon;
    setWindowIcon(icon);

    WindowRun run(*this);
    run.Run();
    return false;
}

int CSentinaxApp::ExitInstance() {
    instanceLock_.Release();
    return 0;
}

QIcon MakeAppIcon() {
    // Drawn by the artwork generator and compiled in (icons.qrc).
    static const bool registered = (InitIconResources(), true);
    (void)registered;
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1x%1/sentinax4.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace sentinax
