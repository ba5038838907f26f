// The instance lock's folder when /tmp/sentinax-<uid> is not ours: the
// monitor must still start (and still refuse a true second copy), never
// answer "Already Running!" for a copy that does not run.
#include "ScopedEnv.h"
#include "ScratchFolder.h"
#include "app/InstanceLock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace sentinax {
namespace {

namespace fs = std::filesystem;

using test::ScopedEnv;

class InstanceLockFolder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(root_.empty());
        fs::create_directory(root_ + "/tmp");
        fs::create_directory(root_ + "/home");
    }
    std::string Taken() const { return root_ + "/tmp/sentinax-" + std::to_string(getuid()); }

    test::ScratchFolder scratch_{"sx-lockdir"};
    std::string root_ = scratch_.Path().string();
    ScopedEnv runtime_{"XDG_RUNTIME_DIR", nullptr};
    ScopedEnv cache_{"XDG_CACHE_HOME", nullptr};
};

TEST_F(InstanceLockFolder, ANameTakenInTmpSendsTheLockToTheCacheFolder) {
    ScopedEnv home("HOME", (root_ + "/home").c_str());
    const std::string cache = root_ + "/home/.cache/sentinax";
    const struct {
        const char* what;
        std::function<void()> plant;
        const char* why;
    } cases[] = {
        {"a link to a folder of someone else", [&] { fs::create_symlink("/", Taken()); },
         "is a symbolic link"},
        {"a folder others may write",
         [&] {
             ::mkdir(Taken().c_str(), 0700);
             ::chmod(Taken().c_str(), 0777);
         },
         "is open to other users"},
        {"a plain file", [&] { std::ofstream(Taken()) << "x"; }, "is not a folder"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(Taken());
        c.plant();
        std::string note;
        EXPECT_EQ(InstanceLock::DefaultFolder(&note, root_ + "/tmp"), cache);
        EXPECT_EQ(note,
                  Taken() + " " + c.why + "; the instance lock is kept in " + cache + " instead");
        struct stat st {};
        ASSERT_EQ(::stat(cache.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u);
    }
    // The usual case says nothing.
    fs::remove_all(Taken());
    std::string note;
    EXPECT_EQ(InstanceLock::DefaultFolder(&note, root_ + "/tmp"), Taken());
    EXPECT_EQ(note, "");
}

TEST_F(InstanceLockFolder, AFolderOfAnotherUserIsNamedWithItsOwner) {
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can give a folder away";
    ScopedEnv home("HOME", (root_ + "/home").c_str());
    ASSERT_EQ(::mkdir(Taken().c_str(), 0700), 0);
    ASSERT_EQ(::chown(Taken().c_str(), 65534, 65534), 0);
    std::string note;
    EXPECT_EQ(InstanceLock::DefaultFolder(&note, root_ + "/tmp"), root_ + "/home/.cache/sentinax");
    EXPECT_NE(note.find(Taken() + " belongs to user "), std::string::npos) << note;
    EXPECT_NE(note.find("(uid 65534)"), std::string::npos) << note;
}

TEST_F(InstanceLockFolder, WithNowhereToGoTheReasonIsGiven) {
    ScopedEnv home("HOME", nullptr);
    fs::create_symlink("/", Taken());
    std::string note;
    EXPECT_EQ(InstanceLock::DefaultFolder(&note, root_ + "/tmp"), "");
    EXPECT_NE(note.find("no instance lock can be taken"), std::string::npos) << note;
}

} // namespace
} // namespace sentinax
