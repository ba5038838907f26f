#include "Autostart.h"
#include "CSentinaxApp.h"
#include "ClearIntrusion.h"
#include "CommandLine.h"
#include "WorkingFolder.h"

#include "config/SafeWriter.h"
#include "hardware/HardwareLibrary.h"
#include "hardware/LibraryLoader.h"
#include "hardware/Reporter.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <unistd.h>

namespace {

// --sensors: the hardware library's placement report, without a window.
int PrintSensorReport() {
    using namespace sentinax;
    HardwareLibrary library;
    if (!BindHardwareLibrary(library)) {
        ReportMessage(MessagePriority::Error, std::string("cannot load ") + kHardwareLibraryName);
        return 1;
    }
    const bool loaded = library.LoadNTHMIO() != 0;
    const std::string report = ReadSensorReport(library);
    std::cout << (report.empty() ? "The hardware library gives no sensor report.\n" : report);
    std::cout.flush();
    for (std::string notice = NextHmioNotice(library); !notice.empty();
         notice = NextHmioNotice(library))
        ReportMessage(MessagePriority::Info, notice);
    if (loaded)
        library.UnloadNTHMIO();
    return 0;
}

// The folder the program was started in; empty when it cannot be told (then
// it is never taken as the working folder).
std::string CurrentFolder() {
    std::error_code ec;
    const std::filesystem::path here = std::filesystem::current_path(ec);
    return ec ? std::string() : here.string();
}

} // namespace

int main(int argc, char** argv) {
    using namespace sentinax;
    CommandLine line;
    if (const std::optional<int> done = StartCommandLine(argc, argv, true, SENTINAX_VERSION, line))
        return *done;
    if (line.Headless) {
        // The run without a display is a program of its own, which loads no
        // GUI library: this one already has them mapped.
        const std::string headless = ProgramDirectory() + "/sentinax4-headless";
        std::vector<char*> args(argv, argv + argc);
        args[0] = const_cast<char*>(headless.c_str());
        args.push_back(nullptr);
        ::execv(headless.c_str(), args.data());
        ReportMessage(MessagePriority::Error, headless + ": " + std::strerror(errno));
        return 1;
    }
    if (line.Sensors)
        return PrintSensorReport();
    if (line.ClearIntrusion) {
        HardwareLibrary library;
        if (!BindHardwareLibrary(library)) {
            ReportMessage(MessagePriority::Error,
                          std::string("cannot load ") + kHardwareLibraryName);
            return 1;
        }
        return ClearIntrusion(library, ProcessReporter());
    }
    if (line.AutostartSwitch != CommandLine::Autostart::Unchanged)
        return SwitchAutostart(
            line.AutostartSwitch == CommandLine::Autostart::On,
            AutostartEntryPath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")),
            ProgramDirectory() + "/sentinax4", std::cout, ReportedLines());

    const WorkingFolderChoice folder =
        ChooseWorkingFolder(CurrentFolder(), std::getenv("XDG_DATA_HOME"), std::getenv("HOME"),
                            InstalledDataDirectory());
    for (const std::string& problem : folder.Problems)
        ReportMessage(MessagePriority::Warning, problem);
    if (::chdir(folder.Folder.c_str()) == 0) {
        ReportMessage(MessagePriority::Info,
                      "working folder " + folder.Folder + " (" + folder.Reason + ")");
        if (!folder.Writable)
            RefuseWorkingFolderWrites(kNoWritableWorkingFolder);
    } else {
        // Staying where it was started would put its files there: it works
        // in "/" and writes none.
        ReportMessage(MessagePriority::Warning,
                      folder.Folder + ": " + std::strerror(errno) +
                          "; working folder / for this run: the settings, log.dat and WMIinfo.txt "
                          "are not written");
        (void)::chdir("/");
        RefuseWorkingFolderWrites(kNoWritableWorkingFolder);
    }

    // Qt keeps pointers into argv for the application's life.
    std::vector<std::string> rest = line.Rest;
    std::vector<char*> qtArgs;
    for (std::string& a : rest)
        qtArgs.push_back(a.data());
    qtArgs.push_back(nullptr);
    int qtArgc = static_cast<int>(rest.size());
    CSentinaxApp app(qtArgc, qtArgs.data());
    app.MetricsFolder = line.MetricsFolder;
    app.InitInstance();
    return app.ExitInstance();
}
