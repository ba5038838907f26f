// The application object: records the platform family, refuses a second copy,
// owns the settings, the icons and the tray tip text, and runs the main window.
#pragma once

#include "InstanceLock.h"

#include "config/AppSettings.h"
#include "sysinfo/WmiFileState.h"

#include <QApplication>
#include <QIcon>
#include <string>

namespace sentinax {

class CSentinaxApp : public QApplication {
    Q_OBJECT
public:
    CSentinaxApp(int& argc, char** argv);

    // Runs the whole program: the single-instance test, then the main window
    // until it ends. Always false, like an application with no loop of its own.
    bool InitInstance();
    // Releases the instance lock.
    int ExitInstance();

    static constexpr const char* kAlreadyRunning = "Sentinax or Tempolux Already Running!";
    static constexpr const char* kDefaultTrayTip = "Korvane Sentinax 4";
    static constexpr int kTrayTipShown = 127; // characters of the tip that are shown

    // 0: the 9x family, 1: the NT family, -1: anything else (this system).
    // Later tests only ask whether it is non-zero.
    int PlatformFamily = -1;
    AppSettings Settings;
    // Whether WMIinfo.txt was written in this run (only the first opening of
    // the inventory writes it).
    WmiFileState WmiFile;
    std::string TrayTip = kDefaultTrayTip;
    // Where the readings for Prometheus go (--metrics-dir); empty: nowhere.
    std::string MetricsFolder;
    QIcon Icons[3];

private:
    InstanceLock instanceLock_;
};

// The application icon in its sizes, from the program's resources.
QIcon MakeAppIcon();

} // namespace sentinax
