// Loading the program's own shared libraries (the hardware library and the
// companions), which live beside the program in its run folder.
#pragma once

#include <string>

namespace sentinax {

// The folder holding the running program; empty when unknown.
std::string ProgramDirectory();

// dlopen of a library given by plain name: the program's own folder first
// (what an RPATH of $ORIGIN means, but also where a sanitizer's dlopen
// interceptor would hide the program's RPATH), then the normal search path.
// A name with a slash is opened as it is. Null when it cannot be loaded.
void* OpenLibrary(const std::string& name);

} // namespace sentinax
