// `sentinax4 --autostart on|off`: writes or removes the user's autostart entry
// (AutostartEntryPath in CommandLine.h). The entry is written through
// config/SafeWriter.h: its folders are made 0700 where missing, a link planted
// under the entry's name (or a temporary name) is never written through, and a
// failure names the path that failed and its cause.
#pragma once

#include <iosfwd>
#include <string>

namespace sentinax {

// entryPath: where the entry goes (empty: no configuration folder);
// programPath: the program the entry starts. The outcome is told on out, a
// failure on errors ("sentinax4: <path>: <cause>"). Returns the exit status.
int SwitchAutostart(bool on, const std::string& entryPath, const std::string& programPath,
                    std::ostream& out, std::ostream& errors);

} // namespace sentinax
