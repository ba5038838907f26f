// How the monitor finds and starts other programs, as plain rules: the
// system-information tool's candidates, programs on the search path, and the
// command line of the desktop's web browser taken from its desktop entry.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sentinax {

// The maker's web address, opened by the face's web button.
constexpr char kMakerWebAddress[] = "https://korvane.example/sentinax4";

// The system-information tools tried by "Sys info", in this order.
const std::vector<std::string>& SystemInfoCandidates();

// The cooling tool and the helper started at exit after it: programs of these
// names on the search path (a user may point them at a fan-control tool of
// their choice, for example with a symbolic link in ~/.local/bin).
constexpr char kCoolingToolProgram[] = "frostline";
constexpr char kCoolingHelperProgram[] = "haltix";

// The first executable regular file named program in the folders of a
// PATH-style list; a name with a slash is taken as it is. Empty when none.
std::string FindOnPath(std::string_view program, std::string_view pathList);

// The words of a desktop entry's Exec value, unquoted as desktop entries quote
// them ("..." with \", \`, \$ and \\ escapes inside). Empty on a quoting error.
std::vector<std::string> SplitExecLine(std::string_view exec);

// The browser's command for target, from its Exec value: the line is cut at
// the first placeholder of a URL or file (%u, %U, %f, %F) that stands alone in
// double quotes, else at the first bare one, and the target is appended as one
// more word; other field codes (%i, %c, %k) are dropped and "%%" is a percent
// sign. Empty when the line cannot be read.
std::vector<std::string> BrowserCommand(std::string_view exec, const std::string& target);

// The Exec value of a desktop entry's text (its [Desktop Entry] group).
std::optional<std::string> DesktopEntryExec(std::string_view text);

// Where desktop entries live: $XDG_DATA_HOME/applications (default
// ~/.local/share/applications), then each of $XDG_DATA_DIRS (default
// /usr/local/share:/usr/share) + /applications.
std::vector<std::string> ApplicationFolders(const char* dataHome, const char* dataDirs,
                                            const char* home);

} // namespace sentinax
