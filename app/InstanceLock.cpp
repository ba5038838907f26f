#include "InstanceLock.h"

#include "hardware/Reporter.h"
#include "hardware/XdgFolder.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace sentinax {

namespace {

// A folder we may keep the lock in: a real folder (not a link), ours, and
// writable by nobody else. When it is not, why says what is wrong with it.
bool OwnFolder(const std::string& folder, bool mustBePrivate, std::string& why) {
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0) {
        why = "cannot be made";
        return false;
    }
    if (!S_ISDIR(st.st_mode)) {
        why = S_ISLNK(st.st_mode) ? "is a symbolic link" : "is not a folder";
        return false;
    }
    if (st.st_uid != ::geteuid()) {
        passwd entry{};
        passwd* found = nullptr;
        std::vector<char> buffer(4096);
        const std::string uid = "uid " + std::to_string(st.st_uid);
        if (::getpwuid_r(st.st_uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found)
            why = "belongs to user " + std::string(found->pw_name) + " (" + uid + ")";
        else
            why = "belongs to " + uid;
        return false;
    }
    if ((st.st_mode & (mustBePrivate ? 0077 : 0022)) != 0) {
        why = "is open to other users";
        return false;
    }
    return true;
}

// Makes every missing folder of an absolute path, the new ones private.
void MakeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1))
        ::mkdir(path.substr(0, slash).c_str(), 0700);
    ::mkdir(path.c_str(), 0700);
}

std::string CacheFolder() {
    const std::string cache =
        XdgUserFolder(std::getenv("XDG_CACHE_HOME"), std::getenv("HOME"), ".cache");
    return cache.empty() ? std::string() : cache + "/sentinax";
}

} // namespace

InstanceLock::InstanceLock(std::ostream* messages)
    : messages_(messages ? messages : &ReportedLines()) {}

InstanceLock::~InstanceLock() {
    Release();
}

std::string InstanceLock::DefaultFolder(std::string* note, const std::string& tmp) {
    std::string why;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && runtime[0] == '/') {
        struct stat st {};
        if (::stat(runtime, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid())
            return runtime;
    }
    const std::string folder = tmp + "/sentinax-" + std::to_string(::getuid());
    ::mkdir(folder.c_str(), 0700);
    // Someone else's folder or a link planted under our name must not be used.
    if (OwnFolder(folder, true, why))
        return folder;

    const std::string cache = CacheFolder();
    std::string cacheWhy = "has no home folder to go to";
    if (!cache.empty()) {
        MakeFolders(cache);
        if (OwnFolder(cache, false, cacheWhy)) {
            if (note)
                *note = folder + " " + why + "; the instance lock is kept in " + cache + " instead";
            return cache;
        }
    }
    if (note)
        *note = folder + " " + why + ", and " + (cache.empty() ? "the cache folder" : cache) + " " +
                cacheWhy + "; no instance lock can be taken";
    return {};
}

InstanceLock::Result InstanceLock::Acquire(const std::string& folder, const std::string& name) {
    Release();
    std::string note;
    const std::string dir = folder.empty() ? DefaultFolder(&note) : folder;
    if (!note.empty())
        *messages_ << note << '\n';
    if (dir.empty())
        return Result::Failed;
    const std::string path = dir + "/" + name;
    const int fd =
        ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0)
        return Result::Failed;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Result::Failed;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        return held ? Result::Held : Result::Failed;
    }
    fd_ = fd;
    return Result::Acquired;
}

void InstanceLock::Release() {
    if (fd_ < 0)
        return;
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
}

} // namespace sentinax
