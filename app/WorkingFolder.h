// Where the monitor works. Started in a folder that holds Skins/ (the build's
// run folder, or any folder a user prepared) it works there. Otherwise (the
// normal case once installed: started from a menu or at log-in) it works in
// $XDG_DATA_HOME/sentinax/ (default ~/.local/share/sentinax/), which the first
// start fills with copies of the installed skins and sound: the settings saved
// into the skin file and log.dat then live there and survive upgrades.
//
// When that per-user folder cannot be made or used (a file in its place, a
// folder others can change, no HOME), the monitor never falls back to the
// folder it was started in (from autostart that is $HOME, from a service "/"):
// it reads the installed skins where they are installed (or, without them,
// works in "/" on the built-in settings), monitors and protects as always, and
// writes nothing into its working folder in that run (Writable false; the
// start-up line and each refused file say so).
#pragma once

#include <string>
#include <vector>

namespace sentinax {

struct WorkingFolderChoice {
    std::string Folder;                // absolute; the folder to work in
    std::string Reason;                // why, for the start-up line
    bool Writable = true;              // false: nothing may be written into Folder this run
    std::vector<std::string> Problems; // what went wrong on the way (one line each)
};

// currentFolder: the folder the program was started in (empty when unknown).
// dataHome and home: the values of XDG_DATA_HOME and HOME (may be null).
// installedData: the installed read-only data (<prefix>/share/sentinax), empty
// when there is none. Creates the per-user folder and copies what it lacks;
// never overwrites a file.
WorkingFolderChoice ChooseWorkingFolder(const std::string& currentFolder, const char* dataHome,
                                        const char* home, const std::string& installedData);

// The per-user folder ($XDG_DATA_HOME/sentinax, ~/.local/share/sentinax when
// XDG_DATA_HOME is unset, empty or relative); empty when neither is usable.
std::string UserDataFolder(const char* dataHome, const char* home);

// Copies the files of installedData that the folder lacks: every file of
// Skins/ and SOUND.wav. A file the user already has is left alone; a copy is
// written under a temporary name first and takes the name only while it is
// still free (config/SafeWriter.h), so that an interrupted start never leaves
// half a file in its place and nothing planted is written through. Returns
// the problems met, among them a name that holds something other than a file.
std::vector<std::string> SeedUserFolder(const std::string& folder,
                                        const std::string& installedData);

// The text every file refused in a run without a writable working folder carries.
inline constexpr const char* kNoWritableWorkingFolder =
    "nothing is written into the working folder in this run (see the start-up line)";

} // namespace sentinax
