#include "CommandLine.h"

#include "hardware/Reporter.h"
#include "hardware/XdgFolder.h"

#include <cstdlib>
#include <iostream>
#include <ostream>

namespace sentinax {

CommandLine ParseCommandLine(const std::vector<std::string>& args, const char* metricsVariable) {
    CommandLine line;
    if (metricsVariable && *metricsVariable)
        line.MetricsFolder = metricsVariable;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (i == 0) {
            line.Rest.push_back(a);
        } else if (a == "--help" || a == "-h") {
            line.Help = true;
        } else if (a == "--version") {
            line.Version = true;
        } else if (a == "--sensors") {
            line.Sensors = true;
        } else if (a == "--clear-intrusion") {
            line.ClearIntrusion = true;
        } else if (a == "--headless") {
            line.Headless = true;
        } else if (a == "--autostart" || a == "--metrics-dir" || a == "--settings") {
            if (i + 1 >= args.size()) {
                line.Error = a + " needs a value";
                break;
            }
            const std::string& value = args[++i];
            if (a == "--metrics-dir" || a == "--settings") {
                if (value.empty()) {
                    line.Error = a + (a == "--settings" ? " needs a file" : " needs a folder");
                    break;
                }
                (a == "--settings" ? line.SettingsFile : line.MetricsFolder) = value;
            } else if (value == "on" || value == "off") {
                line.AutostartSwitch =
                    value == "on" ? CommandLine::Autostart::On : CommandLine::Autostart::Off;
            } else {
                line.Error = "--autostart takes on or off, not '" + value + "'";
                break;
            }
        } else {
            line.Rest.push_back(a);
        }
    }
    // The window reads its settings from its skin file: a settings file given
    // to it would be silently ignored.
    if (line.Error.empty() && !line.SettingsFile.empty() && !line.Headless)
        line.Error = "--settings is for --headless only (the window reads its skin file)";
    return line;
}

std::string UsageText() {
    return "Usage: sentinax4 [--autostart on|off] [--metrics-dir DIR] [--headless [--settings "
           "FILE]]"
           " [--sensors] "
           "[--clear-intrusion] [--help] [--version]\n"
           "Hardware-health monitor: voltages, temperatures and fans of the board.\n"
           "\n"
           "  --autostart on|off  start the monitor when you log in, or no longer, then exit\n"
           "  --metrics-dir DIR   write the readings for Prometheus (node_exporter's textfile\n"
           "                      collector) to DIR/sentinax.prom on every evaluation;\n"
           "                      SENTINAX_METRICS_DIR does the same\n"
           "  --headless          monitor and protect without a display (a service): messages go\n"
           "                      to standard error, the over-temperature power-off is scheduled\n"
           "                      with logind (`shutdown -c` cancels it)\n"
           "  --settings FILE     the settings and limits of --headless, in the form of a skin\n"
           "                      file (default /etc/sentinax/settings.ini)\n"
           "  --sensors           print every sensor chip and input, which value each feeds\n"
           "                      and by which rule, then exit (needs no display)\n"
           "  --clear-intrusion   reset the chassis-intrusion latch after the case was opened,\n"
           "                      then exit (needs no display; writing the latch needs root)\n"
           "  --help              show this text and exit\n"
           "  --version           show the version and exit\n";
}

std::optional<int> AnswerCommandLine(const CommandLine& line, bool restGoesToQt,
                                     const std::string& version, std::ostream& out,
                                     std::ostream& errors) {
    if (!line.Error.empty() || (!restGoesToQt && line.Rest.size() > 1)) {
        ReportMessage(MessagePriority::Error,
                      line.Error.empty() ? "unknown argument " + line.Rest[1] : line.Error);
        errors << UsageText() << std::flush;
        return 2;
    }
    if (line.Help) {
        out << UsageText() << std::flush;
        return 0;
    }
    if (line.Version) {
        out << "Sentinax 4 " << version << "\n" << std::flush;
        return 0;
    }
    return std::nullopt;
}

std::optional<int> StartCommandLine(int argc, char** argv, bool restGoesToQt,
                                    const std::string& version, CommandLine& line) {
    line = ParseCommandLine(std::vector<std::string>(argv, argv + argc),
                            std::getenv("SENTINAX_METRICS_DIR"));
    return AnswerCommandLine(line, restGoesToQt, version, std::cout, std::cerr);
}

std::string AutostartEntry(const std::string& programPath) {
    // A line break in the path would end the Exec line and start a line of the
    // path's choosing; no control character belongs in a desktop entry.
    for (unsigned char c : programPath) {
        if (c < 0x20 || c == 0x7f)
            return {};
    }
    // The path is quoted for the Exec key: backslash, quote, dollar and
    // backquote are escaped inside the quotes.
    std::string quoted = "\"";
    for (char c : programPath) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Sentinax 4\n"
           "Comment=Hardware-health monitor: voltages, temperatures and fans\n"
           "Exec=" +
           quoted +
           "\n"
           "Icon=sentinax4\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

std::string AutostartEntryPath(const char* configHome, const char* home) {
    const std::string config = XdgUserFolder(configHome, home, ".config");
    return config.empty() ? std::string() : config + "/autostart/sentinax4.desktop";
}

} // namespace sentinax
