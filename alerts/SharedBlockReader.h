// The reading side of the shared block, as other programs (and sentinax-shm)
// do it: from the object's descriptor, without a mapping, and the decoded
// fields as text.
#pragma once

#include "HmSharedBlock.h"

#include <string>

namespace sentinax {

// Reads the block from an open shared-memory object. False when the
// descriptor is not a regular object of at least kSharedBlockBytes, or when
// no two successive reads agreed (the monitor writes without a per-write
// lock; reading until two copies agree avoids showing a half-written block).
// pread cannot fault, so an object that shrinks meanwhile is harmless.
bool ReadSharedObject(int fd, HmSharedBlock& block);

// Opens the object by name read-only and without blocking, and reads it.
bool ReadSharedObject(const std::string& name, HmSharedBlock& block);

// The fields, one per line, in units, and whether the monitor runs.
std::string FormatSharedFields(const HmSharedFields& fields, bool running);

} // namespace sentinax
