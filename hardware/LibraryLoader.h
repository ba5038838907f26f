// Loading the program's own shared libraries (the hardware library and the
// companions): beside the program in the build's run folder, in
// <prefix>/lib/sentinax when installed.
#pragma once

#include <string>

namespace sentinax {

// The folder holding the running program; empty when unknown.
std::string ProgramDirectory();

// The folder of the program's own libraries: the program's folder when
// libhmio.so sits there (the run folder), else <program folder>/../lib/sentinax
// when it holds libhmio.so (an installed program), else the program's folder.
std::string OwnLibraryDirectory();

// Where an installed program's read-only data lives (board table, channel
// map, skins, sound, scenarios): <program folder>/../share/sentinax; empty when
// that folder does not exist (the build's run folder keeps them beside the
// program).
std::string InstalledDataDirectory();

// A read-only file shipped with the program, by name: the working folder's
// copy when it has one (the run folder), else the installed one, else the
// name itself (so that a message names what is missing).
std::string ShippedFile(const std::string& name);

// dlopen of a library given by plain name: the program's own library folder
// first (what its RPATH means, but also where a sanitizer's dlopen interceptor
// would hide the program's RPATH), then the normal search path. A name with a
// slash is opened as it is. Null when it cannot be loaded.
void* OpenLibrary(const std::string& name);

} // namespace sentinax
