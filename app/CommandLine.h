// The program's own switches. Everything else on the command line is left to
// Qt (-platform, -display...).
//   --autostart on|off   start the monitor at log-in, or no longer; then exit
//   --metrics-dir DIR    write the readings for Prometheus to DIR/sentinax.prom
//   --sensors            print which sensor input feeds which value, then exit
//   --clear-intrusion    reset the chassis-intrusion latch, then exit
//   --headless           monitor without a display (sentinax4-headless)
//   --settings FILE      the settings file of --headless
//   --help, --version
// SENTINAX_METRICS_DIR names the metrics folder when the switch is not given.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace sentinax {

struct CommandLine {
    enum class Autostart { Unchanged, On, Off };
    Autostart AutostartSwitch = Autostart::Unchanged;
    std::string MetricsFolder; // empty: no metrics file
    bool Help = false;
    bool Version = false;
    bool Sensors = false;
    bool ClearIntrusion = false;
    bool Headless = false;
    std::string SettingsFile;      // --settings; empty: not given
    std::string Error;             // a switch that could not be read
    std::vector<std::string> Rest; // the arguments left for Qt, program name first
};

CommandLine ParseCommandLine(const std::vector<std::string>& args, const char* metricsVariable);

// The text of --help.
std::string UsageText();

// What every run answers alike before it starts: a switch that cannot be read
// (or, when restGoesToQt is false, any argument left over) is reported, with
// the usage on errors, and gives status 2; --help writes the usage and
// --version the version line on out, status 0. Empty: the run goes on.
std::optional<int> AnswerCommandLine(const CommandLine& line, bool restGoesToQt,
                                     const std::string& version, std::ostream& out,
                                     std::ostream& errors);

// How both programs start: their arguments read into line (the metrics folder
// from SENTINAX_METRICS_DIR unless --metrics-dir is given), then answered as
// AnswerCommandLine answers them, on standard output and standard error.
std::optional<int> StartCommandLine(int argc, char** argv, bool restGoesToQt,
                                    const std::string& version, CommandLine& line);

// The autostart entry that starts this program at log-in; empty when the path
// holds a control character (a line break would add lines to the entry).
std::string AutostartEntry(const std::string& programPath);
// $XDG_CONFIG_HOME/autostart/sentinax4.desktop (~/.config/... by default);
// empty when neither variable is an absolute path.
std::string AutostartEntryPath(const char* configHome, const char* home);

} // namespace sentinax
