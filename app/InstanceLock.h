// The mark that a copy of the monitor runs: an exclusive flock on a lock file
// in the user's runtime folder, held for the process's life. The kernel drops
// the lock when the process ends however it ends, so no stale mark can block
// the next start.
#pragma once

#include <string>

namespace sentinax {

class InstanceLock {
public:
    enum class Result {
        Acquired, // this process is the only copy
        Held,     // another copy holds the lock
        Failed,   // the lock file could not be opened: treated like Held
    };

    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Tries the lock file `name` in `folder` (empty: the default folder).
    Result Acquire(const std::string& folder = {}, const std::string& name = kDefaultName);
    // Drops the lock and closes the file; harmless when nothing is held.
    void Release();
    bool Held() const { return fd_ >= 0; }

    // $XDG_RUNTIME_DIR when it is a folder, else a private per-user folder
    // under /tmp (created with mode 0700; refused when it is not ours).
    static std::string DefaultFolder();

    static constexpr const char* kDefaultName = "Sentinax System Monitor.lock";

private:
    int fd_ = -1;
};

} // namespace sentinax
