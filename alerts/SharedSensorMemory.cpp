#include "SharedSensorMemory.h"

#include "hardware/RegularFile.h"
#include "hardware/Reporter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sstream>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <vector>

namespace sentinax {

namespace {

constexpr mode_t kObjectMode = 0644;
// Where Linux keeps POSIX shared-memory objects, for the owner of one we may
// not open.
constexpr const char* kShmFolder = "/dev/shm";
// A reader probing the lock holds it for an instant; retrying for a short
// while keeps such a probe from turning a starting monitor into a silent one.
constexpr int kLockAttempts = 5;
constexpr useconds_t kLockRetryMicros = 20000;

// The object this process published, for RemovePublishedForExit: a full path
// and the creator, set before the object exists and cleared after removal.
char g_publishedPath[256];
volatile pid_t g_publishedBy = 0;

bool LockExclusive(int fd) {
    for (int attempt = 0; attempt < kLockAttempts; ++attempt) {
        if (attempt > 0)
            usleep(kLockRetryMicros);
        if (flock(fd, LOCK_EX | LOCK_NB) == 0)
            return true;
        if (errno != EWOULDBLOCK && errno != EINTR)
            return false;
    }
    return false;
}

std::string ShmPath(const std::string& name) {
    return std::string(kShmFolder) + (name.empty() || name[0] != '/' ? "/" : "") + name;
}

// The owner of a shared-memory object found by name; false when there is none.
bool ObjectOwner(const std::string& name, uid_t& owner) {
    struct stat st {};
    if (lstat(ShmPath(name).c_str(), &st) != 0)
        return false;
    owner = st.st_uid;
    return true;
}

std::string UserText(uid_t uid) {
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(4096);
    if (getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return std::string(found->pw_name) + " (uid " + std::to_string(uid) + ")";
    return "uid " + std::to_string(uid);
}

// The process holding a flock on the file open as fd, from /proc/locks
// ("1: FLOCK  ADVISORY  WRITE 1234 00:1a:5678 0 EOF"); 0 when unknown.
pid_t LockHolder(int fd) {
    struct stat st {};
    std::string text;
    if (fstat(fd, &st) != 0 || !ReadRegularFile("/proc/locks", 4u << 20, text).Ok())
        return 0;
    char file[64];
    std::snprintf(file, sizeof file, "%02x:%02x:%llu", major(st.st_dev), minor(st.st_dev),
                  static_cast<unsigned long long>(st.st_ino));
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string index, kind, advisory, mode, pid, where;
        if (!(words >> index >> kind >> advisory >> mode >> pid >> where) || kind != "FLOCK")
            continue; // other kinds, and "->" lines of processes still waiting
        if (where == file)
            return static_cast<pid_t>(std::atol(pid.c_str()));
    }
    return 0;
}

// The user a process runs as; false when it is gone or hidden.
bool ProcessOwner(pid_t pid, uid_t& owner) {
    struct stat st {};
    if (pid <= 0 || stat(("/proc/" + std::to_string(pid)).c_str(), &st) != 0)
        return false;
    owner = st.st_uid;
    return true;
}

} // namespace

SharedSensorMemory::SharedSensorMemory(std::string shmName, std::string lockName,
                                       std::ostream* messages, uid_t self)
    : shmName_(std::move(shmName)), lockName_(std::move(lockName)),
      messages_(messages ? messages : &ReportedLines()),
      self_(self == uid_t(-1) ? geteuid() : self) {}

SharedSensorMemory::~SharedSensorMemory() {
    Teardown();
}

void SharedSensorMemory::Refuse(const std::string& name, uid_t owner) {
    *messages_ << "the shared memory " << name << " belongs to user " << UserText(owner)
               << ", not to this monitor's user; the readings are not "
               << "published for other programs (monitoring goes on)\n";
}

// Opens (creating if needed) the lock object: a regular file of our own user.
// Whoever owns it keeps it at 0644 whatever the umask, so that readers can
// open it to see whether a monitor runs.
int SharedSensorMemory::OpenLock() {
    // O_NONBLOCK: anyone may put a FIFO under the name in /dev/shm.
    int fd = shm_open(lockName_.c_str(), O_RDONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, kObjectMode);
    uid_t owner = 0;
    if (fd < 0) {
        if (errno == EACCES && ObjectOwner(lockName_, owner) && owner != self_)
            Refuse(lockName_, owner);
        else
            *messages_ << "cannot open the shared memory lock " << lockName_ << ": "
                       << std::strerror(errno) << "; the readings are not published\n";
        return -1;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0) {
        *messages_ << "cannot examine the shared memory lock " << lockName_ << ": "
                   << std::strerror(errno) << "; the readings are not published\n";
        close(fd);
        return -1;
    }
    if (st.st_uid != self_ || !S_ISREG(st.st_mode)) {
        if (st.st_uid != self_)
            Refuse(lockName_, st.st_uid);
        else
            *messages_ << "the shared memory lock " << lockName_ << " is "
                       << DescribeFileType(st.st_mode) << "; the readings are not published\n";
        close(fd);
        return -1;
    }
    fchmod(fd, kObjectMode);
    return fd;
}

bool SharedSensorMemory::TakeLock() {
    lockFd_ = OpenLock();
    if (lockFd_ < 0)
        return false;
    if (LockExclusive(lockFd_))
        return true;

    const pid_t holder = LockHolder(lockFd_);
    uid_t holderUser = 0;
    if (ProcessOwner(holder, holderUser) && holderUser != self_) {
        // Not a monitor: a monitor never locks an object it does not own.
        // Readers opening the name from now on find the fresh object.
        *messages_ << "the shared memory lock " << lockName_ << " was held by process " << holder
                   << " of user " << UserText(holderUser) << "; it is replaced by a fresh one\n";
        close(lockFd_);
        shm_unlink(lockName_.c_str());
        lockFd_ = OpenLock();
        if (lockFd_ >= 0 && LockExclusive(lockFd_))
            return true;
    } else if (holder > 0) {
        *messages_ << "another monitor (process " << holder << ") publishes the readings in "
                   << shmName_ << "; this one does not\n";
    } else {
        *messages_ << "another process holds the shared memory lock " << lockName_
                   << "; the readings are not published\n";
    }
    if (lockFd_ >= 0)
        close(lockFd_);
    lockFd_ = -1;
    return false;
}

bool SharedSensorMemory::CreateObject() {
    // What is there already? Ours (left by a monitor that died) is replaced;
    // someone else's is never touched.
    uid_t owner = 0;
    const int found = shm_open(shmName_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC, 0);
    if (found >= 0) {
        struct stat st {};
        const bool foreign = fstat(found, &st) == 0 && st.st_uid != self_;
        close(found);
        if (foreign) {
            Refuse(shmName_, st.st_uid);
            return false;
        }
    } else if (errno == EACCES && ObjectOwner(shmName_, owner) && owner != self_) {
        Refuse(shmName_, owner);
        return false;
    }
    shm_unlink(shmName_.c_str());

    std::snprintf(g_publishedPath, sizeof g_publishedPath, "%s", ShmPath(shmName_).c_str());
    g_publishedBy = getpid();
    shmFd_ = shm_open(shmName_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, kObjectMode);
    if (shmFd_ < 0) {
        const int error = errno;
        g_publishedBy = 0;
        if (error == EEXIST && ObjectOwner(shmName_, owner) && owner != self_)
            Refuse(shmName_, owner);
        else
            *messages_ << "cannot create the shared memory " << shmName_ << ": "
                       << std::strerror(error) << "; the readings are not published\n";
        return false;
    }
    ownsObject_ = true;
    if (fchmod(shmFd_, kObjectMode) != 0 ||
        ftruncate(shmFd_, static_cast<off_t>(kSharedMappingBytes)) != 0) {
        *messages_ << "cannot size the shared memory " << shmName_ << ": " << std::strerror(errno)
                   << "; the readings are not published\n";
        return false;
    }
    return true;
}

bool SharedSensorMemory::Create() {
    if (lockFd_ >= 0)
        return Ready();
    if (!TakeLock())
        return false;
    creatorPid_ = getpid();
    // We hold the lock, so any object of ours under the name belongs to a
    // monitor that died. Replacing it rather than reusing it gives a zeroed
    // object of the right size that only we can write.
    if (!CreateObject()) {
        // Holding the lock would tell readers that the values under the name
        // are ours.
        Teardown();
        return false;
    }
    return true;
}

void SharedSensorMemory::Write(const HmSharedBlock& block) {
    if (shmFd_ < 0)
        return;
    // pwrite cannot fault, and extends an object that was truncated behind
    // our back; the size check then restores the whole of it (zeros).
    if (pwrite(shmFd_, block.data(), block.size(), 0) != static_cast<ssize_t>(block.size()))
        return;
    struct stat st {};
    if (fstat(shmFd_, &st) == 0 && st.st_size != static_cast<off_t>(kSharedMappingBytes))
        (void)ftruncate(shmFd_, static_cast<off_t>(kSharedMappingBytes));
}

void SharedSensorMemory::Teardown() {
    const bool creator = creatorPid_ == getpid();
    if (shmFd_ >= 0) {
        close(shmFd_);
        shmFd_ = -1;
    }
    if (ownsObject_ && creator) {
        shm_unlink(shmName_.c_str());
        g_publishedBy = 0;
    }
    ownsObject_ = false;
    if (creator) {
        ReleaseLock();
    } else if (lockFd_ >= 0) {
        close(lockFd_); // the lock stays with the parent's open description
        lockFd_ = -1;
    }
}

void SharedSensorMemory::ReleaseLock() {
    if (lockFd_ < 0)
        return;
    flock(lockFd_, LOCK_UN);
    close(lockFd_);
    lockFd_ = -1;
    creatorPid_ = 0;
}

bool SharedSensorMemory::OwnerRunning(const std::string& lockName) {
    int fd = shm_open(lockName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC, 0);
    if (fd < 0)
        return false;
    bool held = false;
    struct stat st {};
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        if (flock(fd, LOCK_SH | LOCK_NB) == 0)
            flock(fd, LOCK_UN);
        else
            held = errno == EWOULDBLOCK;
    }
    close(fd);
    return held;
}

void SharedSensorMemory::RemovePublishedForExit() noexcept {
    if (g_publishedBy != 0 && g_publishedBy == getpid())
        unlink(g_publishedPath);
}

} // namespace sentinax
