// The folders the program writes files into, opened so that nobody else can
// redirect a write.
//
// A path is walked one component at a time from "/" (or from the working
// folder for a relative path). A symbolic link on the way is followed only
// when the folder holding it can be changed by nobody but its owner (the user
// or root): such a link was put there by the user, and is the user's choice
// (~/.local/share a link to another disk). A link in a folder that others may
// write to could have been planted, and is refused. The folder reached must be
// one that only the user (or root) can change: owned by the user or by root,
// and either not writable by group and others, or sticky (as /tmp is: others
// may add names there but cannot remove or replace ours).
//
// The open folder is held as a descriptor; every file is then created, opened,
// renamed and removed relative to it (openat, renameat, unlinkat), so that the
// folder cannot be swapped between a check and a write.
#pragma once

#include <string>
#include <sys/stat.h>
#include <sys/types.h>

namespace sentinax {

// True for a folder in which nobody but the user (or root) can replace an
// entry: owned by the user or root, and not writable by group and others or
// sticky.
bool GuardedFolder(const struct stat& folder);

class SafeFolder {
public:
    SafeFolder() = default;
    ~SafeFolder();
    SafeFolder(SafeFolder&& other) noexcept;
    SafeFolder& operator=(SafeFolder&& other) noexcept;
    SafeFolder(const SafeFolder&) = delete;
    SafeFolder& operator=(const SafeFolder&) = delete;

    // Opens path ("" and "." are the working folder). With makeMode, missing
    // folders on the way are made with that mode (the umask applies). False
    // with why set ("/m: can be changed by other users (mode 0777)", "/x/y:
    // is a regular file, not a folder", the system's error text).
    bool Open(const std::string& path, std::string& why, mode_t makeMode = 0);

    bool IsOpen() const { return fd_ >= 0; }
    // The folder's descriptor (O_PATH: for the *at calls only).
    int Fd() const { return fd_; }
    // The path it was opened by.
    const std::string& Path() const { return path_; }

    // Whether this folder is the working folder or lies anywhere below it.
    bool InsideWorkingFolder() const;

    // Flushes the folder's entries (a rename in it) to the disk; best effort.
    void Sync() const;

private:
    void Close();

    int fd_ = -1;
    std::string path_;
};

} // namespace sentinax
