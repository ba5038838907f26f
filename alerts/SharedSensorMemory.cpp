#include "SharedSensorMemory.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sentinax {

namespace {

constexpr mode_t kObjectMode = 0644;
// A reader probing the lock holds it for an instant; retrying for a short
// while keeps such a probe from turning a starting monitor into a silent one.
constexpr int kLockAttempts = 5;
constexpr useconds_t kLockRetryMicros = 20000;

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

// Opens (creating if needed) the lock object. Whoever owns it keeps it at 0644
// whatever the umask, so that every user can open it to lock it.
int OpenLock(const std::string& name) {
    int fd = shm_open(name.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, kObjectMode);
    if (fd < 0)
        return -1;
    struct stat st {};
    if (fstat(fd, &st) == 0 && st.st_uid == geteuid())
        fchmod(fd, kObjectMode);
    return fd;
}

} // namespace

SharedSensorMemory::SharedSensorMemory(std::string shmName, std::string lockName)
    : shmName_(std::move(shmName)), lockName_(std::move(lockName)) {}

SharedSensorMemory::~SharedSensorMemory() {
    Teardown();
}

bool SharedSensorMemory::Create() {
    if (lockFd_ >= 0)
        return Ready();
    lockFd_ = OpenLock(lockName_);
    if (lockFd_ < 0)
        return false;
    if (!LockExclusive(lockFd_)) {
        close(lockFd_);
        lockFd_ = -1;
        return false;
    }
    creatorPid_ = getpid();

    // We hold the lock, so any existing object belongs to a monitor that died.
    // Replacing it rather than reusing it gives a zeroed object of the right
    // size that only we can write, whatever the dead one left behind.
    shm_unlink(shmName_.c_str());
    shmFd_ = shm_open(shmName_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, kObjectMode);
    if (shmFd_ < 0) {
        ReleaseLock();
        return false;
    }
    ownsObject_ = true;
    void* view = MAP_FAILED;
    if (fchmod(shmFd_, kObjectMode) == 0 &&
        ftruncate(shmFd_, static_cast<off_t>(kSharedMappingBytes)) == 0)
        view = mmap(nullptr, kSharedMappingBytes, PROT_READ | PROT_WRITE, MAP_SHARED, shmFd_, 0);
    if (view == MAP_FAILED) {
        Teardown();
        return false;
    }
    view_ = view;
    return true;
}

void SharedSensorMemory::Write(const HmSharedBlock& block) {
    if (!view_)
        return;
    // Only a process of our own user can shrink the object; if one did, a
    // store into the lost pages would kill the monitor with SIGBUS. Restore
    // the size (the lost part comes back zeroed) or skip this write.
    struct stat st {};
    if (fstat(shmFd_, &st) != 0)
        return;
    if (st.st_size < static_cast<off_t>(kSharedMappingBytes) &&
        ftruncate(shmFd_, static_cast<off_t>(kSharedMappingBytes)) != 0)
        return;
    std::memcpy(view_, block.data(), block.size());
}

void SharedSensorMemory::Teardown() {
    const bool creator = creatorPid_ == getpid();
    if (view_) {
        munmap(view_, kSharedMappingBytes);
        view_ = nullptr;
    }
    if (shmFd_ >= 0) {
        close(shmFd_);
        shmFd_ = -1;
    }
    if (ownsObject_ && creator)
        shm_unlink(shmName_.c_str());
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
    int fd = shm_open(lockName.c_str(), O_RDONLY | O_CLOEXEC, 0);
    if (fd < 0)
        return false;
    bool held = false;
    if (flock(fd, LOCK_SH | LOCK_NB) == 0)
        flock(fd, LOCK_UN);
    else
        held = errno == EWOULDBLOCK;
    close(fd);
    return held;
}

} // namespace sentinax
