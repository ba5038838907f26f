// Replacing a file so that it is never seen half written: the new bytes go to
// a temporary file ".<name>.tmp<pid>-<n>" in the same folder, which is then
// renamed over the file. The settings in the skin file and the readings for
// other programs (metrics) are written this way.
#pragma once

#include <string>
#include <sys/types.h>

namespace sentinax {

enum class Durability {
    Synced,    // the data and the rename reach the disk before success is reported
    Transient, // replaced often and worthless after a crash: no disk flush
};

// Replaces path by bytes so that at every moment the path names either the
// complete old file or the complete new one. A symbolic link is written
// through to its target; a read-only file is refused. Sets why on failure.
// mode 0: a new file's mode is left to the umask and an old file's is kept;
// otherwise the file gets exactly this mode (a file that other users'
// programs read, whatever the umask of the writer).
bool ReplaceFile(const std::string& path, const std::string& bytes, std::string& why,
                 Durability durability = Durability::Synced, mode_t mode = 0);

// Splits a path into its folder (with the separator, "./" for a bare name)
// and its file name.
void SplitPath(const std::string& path, std::string& dir, std::string& base);

// The process id in ".<base>.tmp<pid>-<n>" (a temporary file of ReplaceFile),
// or 0 when name is not such a file.
pid_t TemporaryOwner(const std::string& name, const std::string& base);

// Writes all bytes, going on after interruptions; false on an error.
bool WriteAll(int fd, const std::string& bytes);

} // namespace sentinax
