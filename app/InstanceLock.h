// The mark that a copy of the monitor runs: an exclusive flock on a lock file
// in the user's runtime folder, held for the process's life. The kernel drops
// the lock when the process ends however it ends, so no stale mark can block
// the next start.
//
// The folder must be the user's own: $XDG_RUNTIME_DIR, else /tmp/sentinax-<uid>
// (created 0700). /tmp is shared, so another user may have made that name
// first (or planted a link there); such a folder is never used, and rather
// than refusing to start ("Already Running!" for a copy that does not run),
// the lock goes to the user's own cache folder ($XDG_CACHE_HOME/sentinax or
// ~/.cache/sentinax), with a note on the message stream.
#pragma once

#include <iosfwd>
#include <string>

namespace sentinax {

class InstanceLock {
public:
    enum class Result {
        Acquired, // this process is the only copy
        Held,     // another copy holds the lock
        Failed,   // no lock file could be opened anywhere: the program runs unguarded
    };

    // messages: where the choice of another folder is noted (null: the reporter).
    explicit InstanceLock(std::ostream* messages = nullptr);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Tries the lock file `name` in `folder` (empty: the default folder).
    Result Acquire(const std::string& folder = {}, const std::string& name = kDefaultName);
    // Drops the lock and closes the file; harmless when nothing is held.
    void Release();
    bool Held() const { return fd_ >= 0; }

    // $XDG_RUNTIME_DIR when it is a folder of ours, else a private per-user
    // folder under tmp (created with mode 0700), else, when that name is
    // taken by someone else, the user's cache folder; note then says why.
    // Empty when no folder is usable.
    static std::string DefaultFolder(std::string* note = nullptr, const std::string& tmp = "/tmp");

    static constexpr const char* kDefaultName = "Sentinax System Monitor.lock";

private:
    std::ostream* messages_;
    int fd_ = -1;
};

} // namespace sentinax
