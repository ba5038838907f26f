#include "SafeWriter.h"

#include "SafeFolder.h"

#include "hardware/RegularFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sentinax {

namespace {

// Temporary names tried before giving up (others' files may hold some).
constexpr int kTemporaryAttempts = 100;

std::string& RefusalReason() {
    static std::string reason;
    return reason;
}

bool Refused(const std::string& path, std::string& why) {
    if (RefusalReason().empty() || (!path.empty() && path[0] == '/'))
        return false;
    why = RefusalReason();
    return true;
}

bool ValidName(const std::string& base) {
    return !base.empty() && base != "." && base != "..";
}

std::string ErrorText(int error) {
    return std::strerror(error);
}

// Splits path and opens its folder; false with why set.
bool OpenFolderOf(const std::string& path, SafeFolder& folder, std::string& base,
                  std::string& why) {
    if (Refused(path, why))
        return false;
    std::string dir;
    SplitPath(path, dir, base);
    if (!ValidName(base)) {
        why = "is not a file name";
        return false;
    }
    return folder.Open(dir, why);
}

// What is under name in folder: 0 and st filled, or the error number.
int Look(const SafeFolder& folder, const std::string& name, struct stat& st) {
    return ::fstatat(folder.Fd(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 ? 0 : errno;
}

// Creates a fresh temporary file beside base; the descriptor, or -1 with why.
int CreateTemporary(const SafeFolder& folder, const std::string& base, mode_t mode,
                    std::string& temp, std::string& why) {
    for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
        temp = "." + base + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        const int fd = ::openat(folder.Fd(), temp.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST) {
            why = ErrorText(errno);
            return -1;
        }
    }
    why = "no free temporary name beside it";
    return -1;
}

// Writes bytes into a new temporary file and closes it; false with why set
// (the temporary file is then removed).
bool FillTemporary(const SafeFolder& folder, int fd, const std::string& temp,
                   const std::string& bytes, Durability durability, std::string& why) {
    bool ok = WriteAll(fd, bytes) && (durability == Durability::Transient || ::fsync(fd) == 0);
    if (!ok)
        why = ErrorText(errno);
    if (::close(fd) != 0 && ok) {
        why = ErrorText(errno);
        ok = false;
    }
    if (!ok)
        ::unlinkat(folder.Fd(), temp.c_str(), 0);
    return ok;
}

// The target of the link base in folder when it is a file in the working
// folder or below; false with why set otherwise.
bool LinkIntoWorkingFolder(const SafeFolder& folder, const std::string& base, std::string& target,
                           std::string& why) {
    std::string text(4096, '\0');
    const ssize_t n = ::readlinkat(folder.Fd(), base.c_str(), text.data(), text.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= text.size()) {
        why = "is a symbolic link that cannot be read";
        return false;
    }
    text.resize(static_cast<std::size_t>(n));
    const std::string& dir = folder.Path();
    target = text[0] == '/' || dir == "./" ? text
             : dir.back() == '/'           ? dir + text
                                           : dir + "/" + text;
    std::string targetDir, targetBase;
    SplitPath(target, targetDir, targetBase);
    SafeFolder targetFolder;
    std::string problem;
    if (!targetFolder.Open(targetDir, problem)) {
        why = "is a symbolic link to " + text + ": " + problem;
        return false;
    }
    if (!targetFolder.InsideWorkingFolder()) {
        why = "is a symbolic link to " + text + ", outside the working folder; it is not followed";
        return false;
    }
    return true;
}

} // namespace

void SplitPath(const std::string& path, std::string& dir, std::string& base) {
    const std::size_t slash = path.rfind('/');
    dir = slash == std::string::npos ? "./" : path.substr(0, slash + 1);
    base = slash == std::string::npos ? path : path.substr(slash + 1);
}

pid_t TemporaryOwner(const std::string& name, const std::string& base) {
    const std::string prefix = "." + base + ".tmp";
    if (name.compare(0, prefix.size(), prefix) != 0)
        return 0;
    const char* p = name.c_str() + prefix.size();
    long long pid = 0;
    const char* digits = p;
    while (*p >= '0' && *p <= '9' && pid < (1LL << 31))
        pid = pid * 10 + (*p++ - '0');
    if (p == digits || *p++ != '-' || *p < '0' || *p > '9')
        return 0;
    while (*p >= '0' && *p <= '9')
        ++p;
    return *p == '\0' && pid > 0 && pid < (1LL << 31) ? static_cast<pid_t>(pid) : 0;
}

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

void RefuseWorkingFolderWrites(std::string reason) {
    RefusalReason() = std::move(reason);
}

bool ReplaceFile(const std::string& path, const std::string& bytes, std::string& why,
                 Durability durability, FinalLink link, mode_t mode) {
    SafeFolder folder;
    std::string base;
    if (!OpenFolderOf(path, folder, base, why))
        return false;
    struct stat st {};
    const int look = Look(folder, base, st);
    const bool exists = look == 0;
    if (look != 0 && look != ENOENT) {
        why = ErrorText(look);
        return false;
    }
    if (exists && S_ISLNK(st.st_mode)) {
        std::string target;
        if (link != FinalLink::FollowIntoWorkingFolder) {
            why = "is a symbolic link; it is not followed";
            return false;
        }
        if (!LinkIntoWorkingFolder(folder, base, target, why))
            return false;
        // The target itself must be a file: a link to a link is not followed.
        return ReplaceFile(target, bytes, why, durability, FinalLink::Refuse, mode);
    }
    if (exists && !S_ISREG(st.st_mode)) {
        why = "is " + DescribeFileType(st.st_mode);
        return false;
    }
    // Renaming over a read-only file would succeed; it is refused instead.
    if (exists && ::faccessat(folder.Fd(), base.c_str(), W_OK, AT_EACCESS) != 0) {
        why = ErrorText(errno);
        return false;
    }
    std::string temp;
    // 0666 lets the umask decide the mode of a new file; an existing file's
    // mode is copied exactly below.
    const int fd = CreateTemporary(folder, base, exists ? (st.st_mode & 0777) : 0666, temp, why);
    if (fd < 0)
        return false;
    if (mode != 0)
        (void)::fchmod(fd, mode & 07777);
    else if (exists)
        (void)::fchmod(fd, st.st_mode & 07777);
    if (exists && (st.st_uid != ::geteuid() || st.st_gid != ::getegid()))
        (void)::fchown(fd, st.st_uid, st.st_gid); // only root may; a failure keeps our owner
    if (!FillTemporary(folder, fd, temp, bytes, durability, why))
        return false;
    if (::renameat(folder.Fd(), temp.c_str(), folder.Fd(), base.c_str()) != 0) {
        why = ErrorText(errno);
        ::unlinkat(folder.Fd(), temp.c_str(), 0);
        return false;
    }
    if (durability == Durability::Synced)
        folder.Sync();
    return true;
}

bool AppendToFile(const std::string& path, const std::string& bytes, AppendMode mode,
                  std::string& why) {
    why.clear();
    SafeFolder folder;
    std::string base;
    if (!OpenFolderOf(path, folder, base, why))
        return false;
    // O_NONBLOCK: a FIFO under the name must not stall the program.
    const int fd =
        ::openat(folder.Fd(), base.c_str(),
                 O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int error = errno;
        struct stat st {};
        why = Look(folder, base, st) == 0 && !S_ISREG(st.st_mode)
                  ? "is " + DescribeFileType(st.st_mode)
                  : ErrorText(error);
        return false;
    }
    struct stat st {};
    int error = ::fstat(fd, &st) == 0 ? 0 : errno;
    if (error == 0 && !S_ISREG(st.st_mode))
        why = "is " + DescribeFileType(st.st_mode);
    else if (error == 0 && st.st_uid != ::geteuid())
        why = "belongs to another user (" + std::to_string(st.st_uid) + ")";
    if (error == 0 && why.empty()) {
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags != -1)
            (void)::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
        if (mode == AppendMode::StartAfresh && ::ftruncate(fd, 0) != 0)
            error = errno;
    }
    if (error == 0 && why.empty()) {
        const off_t start = mode == AppendMode::StartAfresh ? 0 : st.st_size;
        // One write: with O_APPEND another writer cannot split it. What does
        // not fit whole is taken back.
        if (!WriteAll(fd, bytes)) {
            error = errno;
            (void)::ftruncate(fd, start);
        }
    }
    if (::close(fd) != 0 && error == 0 && why.empty())
        error = errno;
    if (error != 0)
        why = ErrorText(error);
    return why.empty();
}

CreateResult CreateFileIfAbsent(const std::string& path, const std::string& bytes,
                                std::string& why) {
    SafeFolder folder;
    std::string base;
    if (!OpenFolderOf(path, folder, base, why))
        return CreateResult::Failed;
    struct stat st {};
    if (Look(folder, base, st) == 0) {
        if (!S_ISREG(st.st_mode))
            why = "is " + DescribeFileType(st.st_mode);
        return CreateResult::Exists;
    }
    std::string temp;
    const int fd = CreateTemporary(folder, base, 0666, temp, why);
    if (fd < 0 || !FillTemporary(folder, fd, temp, bytes, Durability::Synced, why))
        return CreateResult::Failed;
    // The name is taken only while it is still free: whatever appeared there
    // meanwhile stays.
    bool linked = false;
    int result =
        ::renameat2(folder.Fd(), temp.c_str(), folder.Fd(), base.c_str(), RENAME_NOREPLACE);
    if (result != 0 && errno == EINVAL) { // a file system without RENAME_NOREPLACE
        result = ::linkat(folder.Fd(), temp.c_str(), folder.Fd(), base.c_str(), 0);
        linked = true;
    }
    const int error = result == 0 ? 0 : errno;
    if (result != 0 || linked)
        ::unlinkat(folder.Fd(), temp.c_str(), 0);
    if (error == EEXIST)
        return CreateResult::Exists;
    if (error != 0) {
        why = ErrorText(error);
        return CreateResult::Failed;
    }
    folder.Sync();
    return CreateResult::Created;
}

RemoveResult RemoveOwnFile(const std::string& path, std::string& why) {
    SafeFolder folder;
    std::string base;
    if (!OpenFolderOf(path, folder, base, why))
        return RemoveResult::Kept;
    struct stat st {};
    const int look = Look(folder, base, st);
    if (look == ENOENT)
        return RemoveResult::Absent;
    if (look != 0) {
        why = ErrorText(look);
        return RemoveResult::Kept;
    }
    if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
        why =
            S_ISREG(st.st_mode) ? "belongs to another user" : "is " + DescribeFileType(st.st_mode);
        return RemoveResult::Kept;
    }
    if (::unlinkat(folder.Fd(), base.c_str(), 0) != 0) {
        if (errno == ENOENT)
            return RemoveResult::Absent;
        why = ErrorText(errno);
        return RemoveResult::Kept;
    }
    return RemoveResult::Removed;
}

bool RenameOwnFile(const std::string& path, const std::string& newName, std::string& why) {
    SafeFolder folder;
    std::string base;
    if (!OpenFolderOf(path, folder, base, why))
        return false;
    if (!ValidName(newName) || newName.find('/') != std::string::npos) {
        why = newName + " is not a file name";
        return false;
    }
    struct stat st {};
    const int look = Look(folder, base, st);
    if (look != 0) {
        why = ErrorText(look);
        return false;
    }
    if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
        why =
            S_ISREG(st.st_mode) ? "belongs to another user" : "is " + DescribeFileType(st.st_mode);
        return false;
    }
    if (::renameat(folder.Fd(), base.c_str(), folder.Fd(), newName.c_str()) != 0) {
        why = ErrorText(errno);
        return false;
    }
    return true;
}

std::string SaveTarget(const std::string& path) {
    SafeFolder folder;
    std::string base, why, target;
    struct stat st {};
    if (!OpenFolderOf(path, folder, base, why) || Look(folder, base, st) != 0 ||
        !S_ISLNK(st.st_mode) || !LinkIntoWorkingFolder(folder, base, target, why))
        return path;
    return target;
}

} // namespace sentinax
