#include "Autostart.h"

#include "CommandLine.h"

#include "config/SafeFolder.h"
#include "config/SafeWriter.h"

#include <ostream>

namespace sentinax {

int SwitchAutostart(bool on, const std::string& entryPath, const std::string& programPath,
                    std::ostream& out, std::ostream& errors) {
    if (entryPath.empty()) {
        errors << "no configuration folder (set HOME)\n";
        return 1;
    }
    std::string why;
    if (!on) {
        if (RemoveOwnFile(entryPath, why) == RemoveResult::Kept) {
            errors << entryPath << ": " << why << "; it is left as it is\n";
            return 1;
        }
        out << "Sentinax 4 no longer starts at log-in (" << entryPath << " removed).\n";
        return 0;
    }
    const std::string entry = AutostartEntry(programPath);
    if (entry.empty()) {
        errors << programPath
               << ": the program's path holds a line break or another control character, which "
                  "an autostart entry cannot hold\n";
        return 1;
    }
    std::string dir, base;
    SplitPath(entryPath, dir, base);
    SafeFolder folder;
    // The configuration folders are the user's alone (as the XDG base
    // directory rules make them).
    if (!folder.Open(dir, why, 0700) || !ReplaceFile(entryPath, entry, why)) {
        errors << entryPath << ": " << why << "\n";
        return 1;
    }
    out << "Sentinax 4 starts at log-in (" << entryPath << ").\n";
    return 0;
}

} // namespace sentinax
