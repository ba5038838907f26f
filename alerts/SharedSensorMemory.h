// The shared memory through which the monitor publishes its readings to other
// programs: the POSIX shared-memory object /HMShared (65536 bytes, the
// HmSharedBlock at offset 0, the rest zero) and the lock that marks the
// monitor owning it.
//
// The lock is an exclusive flock on the shared-memory object
// /ShareHMMemDataMutex (/dev/shm/ShareHMMemDataMutex): one machine-wide name,
// so every user's monitor sees the same lock. The monitor holds it from Create
// until Teardown; the kernel drops it when the process dies, whatever the way.
// The lock object itself is never removed: removing a lock file while others
// may open it lets two processes lock two different files.
//
// /HMShared is created with mode 0644 by the lock holder only: other users can
// read it but cannot write or truncate it. An /HMShared found while the lock is
// free was left by a monitor that died; it is replaced by a fresh, zeroed one.
// Readers must check the object's size before mapping it (it is empty for a
// moment while being created) and may see fields from two different writes.
#pragma once

#include "HmSharedBlock.h"

#include <string>
#include <sys/types.h>

namespace sentinax {

inline constexpr const char* kHmSharedName = "/HMShared";
inline constexpr const char* kHmSharedLockName = "/ShareHMMemDataMutex";

class SharedSensorMemory {
public:
    // Other names are for tests, which run side by side.
    explicit SharedSensorMemory(std::string shmName = kHmSharedName,
                                std::string lockName = kHmSharedLockName);
    ~SharedSensorMemory(); // runs Teardown()
    SharedSensorMemory(const SharedSensorMemory&) = delete;
    SharedSensorMemory& operator=(const SharedSensorMemory&) = delete;

    // Takes the lock and creates and maps the object; returns Ready(). False
    // when another live monitor holds the lock (this instance then never
    // writes) or when a system call fails. Nothing is reported to the user.
    bool Create();
    bool Ready() const { return view_ != nullptr; }

    // Copies the block to offset 0; does nothing when not ready.
    void Write(const HmSharedBlock& block);

    // Unmaps, removes /HMShared if this instance created it, then releases
    // and closes the lock, in that order so that a monitor starting next never
    // loses its fresh object to us. Harmless when never created or run twice.
    // In a forked child it only unmaps and closes: the lock and the object
    // stay with the parent.
    void Teardown();

    // True when some process holds the lock `lockName`, i.e. a monitor runs.
    // Checks with a non-blocking shared lock that is released at once.
    static bool OwnerRunning(const std::string& lockName = kHmSharedLockName);

private:
    void ReleaseLock();

    std::string shmName_;
    std::string lockName_;
    int lockFd_ = -1;
    int shmFd_ = -1;
    void* view_ = nullptr;
    bool ownsObject_ = false;
    pid_t creatorPid_ = 0;
};

} // namespace sentinax
