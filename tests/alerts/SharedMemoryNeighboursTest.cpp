// The shared block against careless or hostile neighbours: an object shrunk
// while the monitor writes, objects or a lock made by another user, and a
// FIFO under either name. Monitoring must never die or hang for any of them,
// and every refusal is said, naming the object and its owner.
#include "EndedRunObjects.h"
#include "alerts/SharedBlockReader.h"
#include "alerts/SharedSensorMemory.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <pwd.h>
#include <sstream>
#include <string>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace sentinax;

namespace {

constexpr uid_t kNobody = 65534;

HmSharedBlock Block(uint8_t seed) {
    HmSharedBlock block{};
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<uint8_t>(seed + i);
    return block;
}

off_t SizeOf(const std::string& name) {
    const int fd = shm_open(name.c_str(), O_RDONLY, 0);
    struct stat st {};
    const off_t size = fd >= 0 && fstat(fd, &st) == 0 ? st.st_size : -1;
    if (fd >= 0)
        close(fd);
    return size;
}

// Runs `work` as user nobody in a child that then waits until told to end;
// returns the child's pid once `work` is done. Root only.
template <typename F> pid_t AsNobody(F work, int& release) {
    int ready[2], done[2];
    if (pipe(ready) != 0 || pipe(done) != 0)
        return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        close(ready[0]);
        close(done[1]);
        if (setgid(kNobody) != 0 || setuid(kNobody) != 0)
            _exit(3);
        work();
        char byte = 1;
        [[maybe_unused]] auto w = write(ready[1], &byte, 1);
        [[maybe_unused]] auto r = read(done[0], &byte, 1);
        _exit(0);
    }
    close(ready[1]);
    close(done[0]);
    char byte = 0;
    [[maybe_unused]] auto r = read(ready[0], &byte, 1);
    close(ready[0]);
    release = done[1];
    return pid;
}

void Finish(pid_t pid, int release) {
    close(release);
    waitpid(pid, nullptr, 0);
}

std::string NobodyName() {
    const passwd* entry = getpwuid(kNobody);
    return entry ? entry->pw_name : "uid 65534";
}

class SharedMemoryNeighbours : public ::testing::Test {
protected:
    void SetUp() override {
        static int counter = 0;
        if (counter == 0)
            test::RemoveObjectsOfEndedRuns("sx-nb");
        const std::string tag =
            "/sx-nb-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
        shm_ = tag + "-HMShared";
        lock_ = tag + "-Mutex";
    }
    void TearDown() override {
        shm_unlink(shm_.c_str());
        shm_unlink(lock_.c_str());
    }
    void RequireRoot() {
        if (geteuid() != 0)
            GTEST_SKIP() << "another user's objects can only be made as root";
    }
    std::string shm_, lock_;
    std::ostringstream messages_;
};

// A mapping would fault (SIGBUS) on the first store into a page the object no
// longer has; a child truncating in a tight loop proves the writes cannot.
TEST_F(SharedMemoryNeighbours, WritesSurviveAnObjectShrunkInALoop) {
    SharedSensorMemory memory(shm_, lock_, &messages_);
    ASSERT_TRUE(memory.Create());
    int started[2];
    ASSERT_EQ(pipe(started), 0);
    const pid_t truncator = fork();
    ASSERT_GE(truncator, 0);
    if (truncator == 0) {
        const int fd = shm_open(shm_.c_str(), O_RDWR, 0);
        (void)!write(started[1], "x", 1);
        for (;;)
            (void)!ftruncate(fd, 0);
    }
    char byte = 0;
    ASSERT_EQ(read(started[0], &byte, 1), 1);
    close(started[0]);
    close(started[1]);
    // A writer through a mapping dies here within a few thousand writes.
    for (int i = 0; i < 20000; ++i)
        memory.Write(Block(static_cast<uint8_t>(i)));
    kill(truncator, SIGKILL);
    waitpid(truncator, nullptr, 0);

    const HmSharedBlock last = Block(7);
    memory.Write(last);
    EXPECT_EQ(SizeOf(shm_), static_cast<off_t>(kSharedMappingBytes)) << "the size is restored";
    HmSharedBlock seen{};
    ASSERT_TRUE(ReadSharedObject(shm_, seen));
    EXPECT_EQ(seen, last);
    EXPECT_EQ(messages_.str(), "");
}

// A test cannot make objects of another user without root; the monitor is
// told it runs as someone else instead, which makes our objects foreign.
TEST_F(SharedMemoryNeighbours, ALockOfAnotherUserIsRefusedByName) {
    SharedSensorMemory memory(shm_, lock_, &messages_, getuid() + 1);
    EXPECT_FALSE(memory.Create());
    EXPECT_FALSE(memory.Ready());
    memory.Write(Block(1)); // goes nowhere, no crash
    EXPECT_EQ(SizeOf(shm_), -1) << "nothing is published";
    EXPECT_NE(messages_.str().find("the shared memory " + lock_ + " belongs to user "),
              std::string::npos)
        << messages_.str();
    EXPECT_NE(messages_.str().find("(uid " + std::to_string(getuid()) + ")"), std::string::npos);
    EXPECT_NE(messages_.str().find("monitoring goes on"), std::string::npos);
}

TEST_F(SharedMemoryNeighbours, AFifoUnderEitherNameNeitherHangsNorIsUsed) {
    for (const std::string* name : {&lock_, &shm_}) {
        SCOPED_TRACE(*name);
        const std::string path = "/dev/shm" + *name;
        ASSERT_EQ(mkfifo(path.c_str(), 0666), 0);
        std::ostringstream messages;
        SharedSensorMemory memory(shm_, lock_, &messages);
        // The lock name: refused with what it is. The block's name: ours, so
        // it is replaced by a proper object.
        EXPECT_EQ(memory.Create(), name == &shm_);
        if (name == &lock_) {
            EXPECT_NE(messages.str().find("is a FIFO"), std::string::npos) << messages.str();
        }
        memory.Teardown();
        unlink(path.c_str());
    }
}

TEST_F(SharedMemoryNeighbours, ABlockMadeByAnotherUserIsNeverUsed) {
    RequireRoot();
    int release = -1;
    const pid_t other = AsNobody(
        [&] {
            const int fd = shm_open(shm_.c_str(), O_RDWR | O_CREAT | O_EXCL, 0644);
            (void)!ftruncate(fd, 65536);
            (void)!write(fd, "spoofed", 7);
        },
        release);
    ASSERT_GT(other, 0);
    SharedSensorMemory memory(shm_, lock_, &messages_);
    EXPECT_FALSE(memory.Create());
    memory.Write(Block(1));
    HmSharedBlock seen{};
    ASSERT_TRUE(ReadSharedObject(shm_, seen));
    EXPECT_EQ(std::string(seen.begin(), seen.begin() + 7), "spoofed") << "left as it was";
    EXPECT_FALSE(SharedSensorMemory::OwnerRunning(lock_))
        << "holding the lock would vouch for values that are not ours";
    EXPECT_NE(
        messages_.str().find("the shared memory " + shm_ + " belongs to user " + NobodyName()),
        std::string::npos)
        << messages_.str();
    Finish(other, release);
}

TEST_F(SharedMemoryNeighbours, ALockObjectMadeByAnotherUserIsRefused) {
    RequireRoot();
    int release = -1;
    const pid_t other =
        AsNobody([&] { shm_open(lock_.c_str(), O_RDONLY | O_CREAT, 0600); }, release);
    ASSERT_GT(other, 0);
    SharedSensorMemory memory(shm_, lock_, &messages_);
    EXPECT_FALSE(memory.Create());
    EXPECT_NE(messages_.str().find(lock_ + " belongs to user " + NobodyName()), std::string::npos)
        << messages_.str();
    Finish(other, release);
}

// Our lock object, held by a process of another user: not a monitor, so the
// lock is replaced and publishing goes on.
TEST_F(SharedMemoryNeighbours, OurLockHeldByAnotherUserIsReplaced) {
    RequireRoot();
    {
        SharedSensorMemory first(shm_, lock_); // leaves the lock object, ours
        ASSERT_TRUE(first.Create());
    }
    int release = -1;
    const pid_t other = AsNobody(
        [&] {
            const int fd = shm_open(lock_.c_str(), O_RDONLY, 0);
            flock(fd, LOCK_EX);
        },
        release);
    ASSERT_GT(other, 0);
    ASSERT_TRUE(SharedSensorMemory::OwnerRunning(lock_));
    SharedSensorMemory memory(shm_, lock_, &messages_);
    ASSERT_TRUE(memory.Create()) << messages_.str();
    memory.Write(Block(3));
    HmSharedBlock seen{};
    ASSERT_TRUE(ReadSharedObject(shm_, seen));
    EXPECT_EQ(seen, Block(3));
    EXPECT_NE(messages_.str().find("was held by process " + std::to_string(other) + " of user " +
                                   NobodyName()),
              std::string::npos)
        << messages_.str();
    Finish(other, release);
    memory.Teardown();
}

// The reader's side: an object of any size, or no object at all.
TEST(SharedBlockReader, ReadsOnlyObjectsLargeEnoughToHoldTheBlock) {
    const std::string name = "/sx-reader-" + std::to_string(getpid());
    for (off_t size : {off_t(0), off_t(31), off_t(32), off_t(65536)}) {
        SCOPED_TRACE(size);
        const int fd = shm_open(name.c_str(), O_RDWR | O_CREAT, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(ftruncate(fd, size), 0);
        const HmSharedBlock written = Block(9);
        (void)!pwrite(fd, written.data(), std::min<off_t>(size, 32), 0);
        HmSharedBlock seen{};
        EXPECT_EQ(ReadSharedObject(fd, seen), size >= 32);
        if (size >= 32) {
            EXPECT_EQ(seen, written);
        }
        close(fd);
        shm_unlink(name.c_str());
    }
    HmSharedBlock seen{};
    EXPECT_FALSE(ReadSharedObject(name, seen));
    const std::string text = FormatSharedFields(UnpackSharedBlock(Block(0)), false);
    EXPECT_NE(text.find("Monitor            not running (values are stale)\n"), std::string::npos);
}

} // namespace
