// The one way the program writes files: the settings in the skin file, log.dat,
// WMIinfo.txt, the metrics file, the autostart entry and the files seeded into
// the per-user folder all go through these operations.
//
// Rules, for every operation:
// - The file's folder is opened as a SafeFolder (SafeFolder.h): no link planted
//   on the way is followed, and only a folder nobody else can change is used.
// - Everything then happens relative to that folder's descriptor. New files
//   are created under a temporary name with O_EXCL | O_NOFOLLOW, so nothing
//   planted under that name is ever written through, and renamed over the
//   target with renameat, which replaces a name and never follows it.
// - A symbolic link under the file's own name is not followed: the write is
//   refused and why says so. The one exception is the skin file, which a user
//   may keep elsewhere in the working folder through a link (FinalLink).
// - Files are opened without blocking, so a FIFO under a name cannot stall the
//   program; only regular files are written.
// - Failures set why to a short text for a message: the system's error text
//   ("No space left on device") or what was found ("is a symbolic link").
#pragma once

#include <string>
#include <sys/types.h>

namespace sentinax {

enum class Durability {
    Synced,    // the data and the rename reach the disk before success is reported
    Transient, // replaced often and worthless after a crash: no disk flush
};

// What a symbolic link under the file's own name means to ReplaceFile.
enum class FinalLink {
    Refuse, // never followed: the write is refused
    // The link's target is replaced when it is a regular file in the working
    // folder or below it (the user's own arrangement); any other target is
    // refused.
    FollowIntoWorkingFolder,
};

// Replaces path by bytes so that at every moment the path names either the
// complete old file or the complete new one: a temporary ".<name>.tmp<pid>-<n>"
// beside it, written, flushed, renamed over it. A new file's mode comes from
// the umask; an existing file keeps its mode (and, where the process may, its
// owner). A non-zero mode is the file's mode instead, whatever the umask and
// the old file's (a file other users' programs read). A read-only file is
// refused. Sets why on failure.
bool ReplaceFile(const std::string& path, const std::string& bytes, std::string& why,
                 Durability durability = Durability::Synced, FinalLink link = FinalLink::Refuse,
                 mode_t mode = 0);

enum class AppendMode {
    Append,      // add to the end, creating the file when missing
    StartAfresh, // empty the file first (once it is known to be a regular file)
};

// Adds bytes to path with one write in append mode, so another writer cannot
// split them. Only a regular file owned by the user is written; a missing one
// is created. Bytes that do not fit whole (a full disk) are taken back, so the
// file never holds half a record. Sets why on failure.
bool AppendToFile(const std::string& path, const std::string& bytes, AppendMode mode,
                  std::string& why);

enum class CreateResult {
    Created,
    Exists, // something is under the name already; it is left as it is
    Failed,
};

// Creates path with bytes only while the name is free; whatever is there, or
// appears there meanwhile, is left alone. Exists sets why when what is there
// is not a regular file ("is a symbolic link"); Failed always sets why.
CreateResult CreateFileIfAbsent(const std::string& path, const std::string& bytes,
                                std::string& why);

enum class RemoveResult {
    Removed,
    Absent, // nothing under the name
    Kept,   // something that is not the user's regular file, or an error; why says which
};

// Removes path when it is a regular file owned by the user; anything else under
// the name stays.
RemoveResult RemoveOwnFile(const std::string& path, std::string& why);

// Renames the regular file path, owned by the user, to newName (a bare name) in
// the same folder, replacing what was there. False with why set otherwise.
bool RenameOwnFile(const std::string& path, const std::string& newName, std::string& why);

// The file a save of path writes: the target of a link at path when that lies
// in the working folder (FinalLink::FollowIntoWorkingFolder), else path.
std::string SaveTarget(const std::string& path);

// From now on every file named by a relative path (one in the working folder)
// is refused with reason, for a run whose working folder must not be written
// (see app/WorkingFolder.h). An empty reason allows them again.
void RefuseWorkingFolderWrites(std::string reason);

// Splits a path into its folder (with the separator, "./" for a bare name)
// and its file name.
void SplitPath(const std::string& path, std::string& dir, std::string& base);

// The process id in ".<base>.tmp<pid>-<n>" (a temporary file of ReplaceFile),
// or 0 when name is not such a file.
pid_t TemporaryOwner(const std::string& name, const std::string& base);

// Writes all bytes, going on after interruptions; false on an error.
bool WriteAll(int fd, const std::string& bytes);

} // namespace sentinax
