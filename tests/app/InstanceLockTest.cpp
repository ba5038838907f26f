#include "app/InstanceLock.h"
#include "ScopedEnv.h"
#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace sentinax {
namespace {

namespace fs = std::filesystem;

class InstanceLockTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(dir.empty()); }
    test::ScratchFolder scratch{"sx-lock"};
    std::string dir = scratch.Path().string();
};

// Runs Acquire in a child process, as a second copy of the program would.
InstanceLock::Result AcquireInChild(const std::string& dir) {
    const pid_t pid = fork();
    if (pid == 0) {
        InstanceLock other;
        _exit(static_cast<int>(other.Acquire(dir)));
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return static_cast<InstanceLock::Result>(WEXITSTATUS(status));
}

TEST_F(InstanceLockTest, SecondCopyIsRefusedWhileTheFirstHoldsTheLock) {
    InstanceLock first;
    ASSERT_EQ(first.Acquire(dir), InstanceLock::Result::Acquired);
    EXPECT_EQ(AcquireInChild(dir), InstanceLock::Result::Held);
    first.Release();
    EXPECT_EQ(AcquireInChild(dir), InstanceLock::Result::Acquired);
}

TEST_F(InstanceLockTest, LockFileLeftByAProcessThatDiedDoesNotBlock) {
    const pid_t pid = fork();
    if (pid == 0) {
        InstanceLock crashed;
        crashed.Acquire(dir);
        _exit(0); // no Release: the kernel drops the lock
    }
    waitpid(pid, nullptr, 0);
    ASSERT_TRUE(fs::exists(dir + "/" + InstanceLock::kDefaultName));
    InstanceLock next;
    EXPECT_EQ(next.Acquire(dir), InstanceLock::Result::Acquired);
}

TEST_F(InstanceLockTest, UnopenableLockFileCountsAsRefusal) {
    // A symbolic link planted under the lock's name is never followed.
    fs::create_symlink("/etc/passwd", dir + "/planted");
    InstanceLock lock;
    EXPECT_EQ(lock.Acquire(dir, "planted"), InstanceLock::Result::Failed);
    EXPECT_EQ(lock.Acquire(dir + "/missing-folder"), InstanceLock::Result::Failed);
    EXPECT_FALSE(lock.Held());
}

TEST_F(InstanceLockTest, DefaultFolderIsTheRuntimeFolderOrAPrivateOne) {
    {
        test::ScopedEnv runtime("XDG_RUNTIME_DIR", dir);
        EXPECT_EQ(InstanceLock::DefaultFolder(), dir);
    }
    test::ScopedEnv runtime("XDG_RUNTIME_DIR", nullptr);
    const std::string expected = "/tmp/sentinax-" + std::to_string(getuid());
    // The fallback folder this test makes goes with it; one that was there
    // before (a monitor of this user's) is left alone.
    struct stat before {};
    const bool existed = lstat(expected.c_str(), &before) == 0;
    struct RemoveMade {
        const std::string& path;
        bool keep;
        ~RemoveMade() {
            if (!keep)
                rmdir(path.c_str());
        }
    } removeMade{expected, existed};
    const std::string fallback = InstanceLock::DefaultFolder();
    EXPECT_EQ(fallback, expected);
    struct stat st {};
    ASSERT_EQ(stat(fallback.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

} // namespace
} // namespace sentinax
