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
//
// Neighbours: /dev/shm is writable by everyone, so another user may have made
// either name first, or may hold our lock. An object that belongs to another
// user is never used: Create reports it on the message stream, naming the
// object and its owner, and the monitor goes on without publishing (its alarms
// and protection do not depend on this). A lock of ours held by a process of
// another user is not a monitor (monitors refuse locks they do not own): the
// lock object is then replaced by a fresh one, with a message.
//
// Publishing cannot fault: the block is written with pwrite on the object's
// descriptor, never through a mapping, so an object truncated behind our back
// (only our own user can) costs nothing; the write also restores its size.
// Readers must check the object's size before mapping it (it is empty for a
// moment while being created) and may see fields from two different writes.
#pragma once

#include "HmSharedBlock.h"

#include <iosfwd>
#include <string>
#include <sys/types.h>

namespace sentinax {

inline constexpr const char* kHmSharedName = "/HMShared";
inline constexpr const char* kHmSharedLockName = "/ShareHMMemDataMutex";

class SharedSensorMemory {
public:
    // Other names are for tests, which run side by side. messages: where
    // refusals are reported, one line each (null: the reporter). self: the user the
    // objects must belong to (-1: this process's effective user; tests pass
    // another one to play a neighbour).
    explicit SharedSensorMemory(std::string shmName = kHmSharedName,
                                std::string lockName = kHmSharedLockName,
                                std::ostream* messages = nullptr, uid_t self = uid_t(-1));
    ~SharedSensorMemory(); // runs Teardown()
    SharedSensorMemory(const SharedSensorMemory&) = delete;
    SharedSensorMemory& operator=(const SharedSensorMemory&) = delete;

    // Takes the lock and creates the object; returns Ready(). False when
    // another live monitor holds the lock (this instance then never writes),
    // when either object belongs to another user, or when a system call
    // fails; each case but the first is reported.
    bool Create();
    bool Ready() const { return shmFd_ >= 0; }

    // Writes the block at offset 0 and keeps the object at its full size;
    // does nothing when not ready. Never faults, whatever happened to the
    // object meanwhile.
    void Write(const HmSharedBlock& block);

    // Removes /HMShared if this instance created it, then releases and closes
    // the lock, in that order so that a monitor starting next never loses its
    // fresh object to us. Harmless when never created or run twice. In a
    // forked child it only closes: the lock and the object stay with the
    // parent.
    void Teardown();

    // True when some process holds the lock `lockName`, i.e. a monitor runs.
    // Checks with a non-blocking shared lock that is released at once.
    static bool OwnerRunning(const std::string& lockName = kHmSharedLockName);

    // For an exit that cannot run Teardown (a signal during start-up): removes
    // the object this process created. Async-signal-safe.
    static void RemovePublishedForExit() noexcept;

private:
    int OpenLock();
    bool TakeLock();
    bool CreateObject();
    void Refuse(const std::string& name, uid_t owner);
    void ReleaseLock();

    std::string shmName_;
    std::string lockName_;
    std::ostream* messages_;
    uid_t self_;
    int lockFd_ = -1;
    int shmFd_ = -1;
    bool ownsObject_ = false;
    pid_t creatorPid_ = 0;
};

} // namespace sentinax
