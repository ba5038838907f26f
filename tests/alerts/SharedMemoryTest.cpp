#include "EndedRunObjects.h"
#include "alerts/SharedSensorMemory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace sentinax;

namespace {

// What another program sees: the object's bytes and mode, read through its own
// descriptor. Empty when the object does not exist.
struct ObjectView {
    std::vector<uint8_t> Bytes;
    mode_t Mode = 0;
};

std::optional<ObjectView> Inspect(const std::string& name) {
    int fd = shm_open(name.c_str(), O_RDONLY, 0);
    if (fd < 0)
        return std::nullopt;
    ObjectView view;
    struct stat st {};
    if (fstat(fd, &st) == 0) {
        view.Mode = st.st_mode & 07777;
        view.Bytes.resize(static_cast<size_t>(st.st_size));
        if (st.st_size > 0) {
            // Through a mapping, as readers of the block do.
            void* p = mmap(nullptr, view.Bytes.size(), PROT_READ, MAP_SHARED, fd, 0);
            if (p != MAP_FAILED) {
                std::copy_n(static_cast<const uint8_t*>(p), view.Bytes.size(), view.Bytes.begin());
                munmap(p, view.Bytes.size());
            }
        }
    }
    close(fd);
    return view;
}

HmSharedBlock SampleBlock(uint8_t seed) {
    RawValues raw{};
    for (int i = 0; i < kRawValueCount; ++i)
        raw[i] = -1 - seed * 100 - i; // every byte non-zero
    ChipParams params{};
    params.fill(static_cast<uint8_t>(0x80 + seed));
    return PackSharedBlock(raw, params, BoardProfile{});
}

// Runs `child` in a forked process (flock belongs to an open file description,
// so a second monitor must be another process) and returns its exit code.
template <typename F> int InChild(F child) {
    pid_t pid = fork();
    if (pid == 0)
        _exit(child());
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
}

// Unique names so that test runs in parallel never meet.
class SharedMemoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        static int counter = 0;
        if (counter == 0)
            test::RemoveObjectsOfEndedRuns("sx-test");
        const std::string tag =
            "/sx-test-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
        shm_ = tag + "-HMShared";
        lock_ = tag + "-Mutex";
    }
    void TearDown() override {
        shm_unlink(shm_.c_str());
        shm_unlink(lock_.c_str());
    }
    bool Exists(const std::string& name) const { return Inspect(name).has_value(); }

    std::string shm_;
    std::string lock_;
};

} // namespace

TEST_F(SharedMemoryTest, FullSizeZeroedObjectAndLockWithMode0644WhateverTheUmask) {
    for (mode_t mask : {mode_t(0077), mode_t(0000), mode_t(0022)}) {
        SCOPED_TRACE(mask);
        const mode_t old = umask(mask);
        SharedSensorMemory memory(shm_, lock_);
        const bool created = memory.Create();
        umask(old);
        ASSERT_TRUE(created);
        EXPECT_TRUE(memory.Ready());
        auto object = Inspect(shm_);
        ASSERT_TRUE(object);
        EXPECT_EQ(object->Mode, 0644u);
        EXPECT_EQ(object->Bytes, std::vector<uint8_t>(kSharedMappingBytes, 0));
        auto lock = Inspect(lock_);
        ASSERT_TRUE(lock);
        EXPECT_EQ(lock->Mode, 0644u);
        memory.Teardown();
        shm_unlink(lock_.c_str()); // next round creates the lock object again
    }
}

TEST_F(SharedMemoryTest, ReadersSeeTheBlockAtOffsetZeroAndZerosAfterIt) {
    SharedSensorMemory memory(shm_, lock_);
    ASSERT_TRUE(memory.Create());
    for (uint8_t seed : {1, 2}) {
        const HmSharedBlock block = SampleBlock(seed);
        memory.Write(block);
        auto object = Inspect(shm_);
        ASSERT_TRUE(object);
        ASSERT_EQ(object->Bytes.size(), kSharedMappingBytes);
        EXPECT_TRUE(std::equal(block.begin(), block.end(), object->Bytes.begin()));
        EXPECT_EQ(object->Bytes[HmSharedOffset::Reserved], 0);
        EXPECT_TRUE(std::all_of(object->Bytes.begin() + kSharedBlockBytes, object->Bytes.end(),
                                [](uint8_t b) { return b == 0; }));
    }
}

TEST_F(SharedMemoryTest, SecondMonitorIsNotReadyAndLeavesTheFirstAlone) {
    SharedSensorMemory first(shm_, lock_);
    ASSERT_TRUE(first.Create());
    const HmSharedBlock block = SampleBlock(3);
    first.Write(block);

    const int code = InChild([&] {
        SharedSensorMemory second(shm_, lock_);
        if (second.Create() || second.Ready())
            return 1;
        if (!SharedSensorMemory::OwnerRunning(lock_))
            return 2;
        second.Write(SampleBlock(4)); // must go nowhere
        second.Teardown();            // must not remove the first one's object
        return 0;
    });
    EXPECT_EQ(code, 0);

    auto object = Inspect(shm_);
    ASSERT_TRUE(object);
    EXPECT_TRUE(std::equal(block.begin(), block.end(), object->Bytes.begin()));
    EXPECT_TRUE(SharedSensorMemory::OwnerRunning(lock_));
}

TEST_F(SharedMemoryTest, ObjectLeftByADeadMonitorIsTakenOverZeroed) {
    // A monitor that dies without its clean-up.
    const int code = InChild([&] {
        SharedSensorMemory crashed(shm_, lock_);
        if (!crashed.Create())
            return 1;
        crashed.Write(SampleBlock(5));
        _exit(0); // dies with the object alive: no destructor, no teardown
        return 1;
    });
    ASSERT_EQ(code, 0);
    auto stale = Inspect(shm_);
    ASSERT_TRUE(stale);
    ASSERT_NE(stale->Bytes[0], 0);
    EXPECT_FALSE(SharedSensorMemory::OwnerRunning(lock_));

    SharedSensorMemory next(shm_, lock_);
    ASSERT_TRUE(next.Create());
    auto object = Inspect(shm_);
    ASSERT_TRUE(object);
    EXPECT_EQ(object->Bytes, std::vector<uint8_t>(kSharedMappingBytes, 0));
    EXPECT_EQ(object->Mode, 0644u);
    next.Teardown();

    // A leftover of the wrong size and mode: writing through a mapping of it
    // would fault, and anyone could write it. Replaced, not reused.
    int fd = shm_open(shm_.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(fchmod(fd, 0666), 0);
    ASSERT_EQ(ftruncate(fd, 16), 0);
    close(fd);
    SharedSensorMemory again(shm_, lock_);
    ASSERT_TRUE(again.Create());
    again.Write(SampleBlock(6));
    object = Inspect(shm_);
    ASSERT_TRUE(object);
    EXPECT_EQ(object->Mode, 0644u);
    EXPECT_EQ(object->Bytes.size(), kSharedMappingBytes);
}

TEST_F(SharedMemoryTest, TeardownRemovesTheObjectReleasesTheLockAndRunsTwice) {
    SharedSensorMemory never(shm_, lock_);
    never.Teardown(); // never created: nothing to do
    never.Write(SampleBlock(1));

    SharedSensorMemory memory(shm_, lock_);
    ASSERT_TRUE(memory.Create());
    EXPECT_TRUE(SharedSensorMemory::OwnerRunning(lock_));
    memory.Teardown();
    EXPECT_FALSE(memory.Ready());
    EXPECT_FALSE(Exists(shm_));
    EXPECT_TRUE(Exists(lock_)); // the lock object stays for the next monitor
    EXPECT_FALSE(SharedSensorMemory::OwnerRunning(lock_));
    memory.Teardown();
    memory.Write(SampleBlock(1)); // after teardown: ignored, no crash
    EXPECT_FALSE(Exists(shm_));

    SharedSensorMemory next(shm_, lock_);
    EXPECT_TRUE(next.Create());
}

TEST_F(SharedMemoryTest, ForkedChildCannotDropTheParentsLockOrObject) {
    SharedSensorMemory memory(shm_, lock_);
    ASSERT_TRUE(memory.Create());
    const int code = InChild([&] {
        memory.Teardown(); // shares the parent's lock description
        return 0;
    });
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(Exists(shm_));
    EXPECT_TRUE(SharedSensorMemory::OwnerRunning(lock_));
    EXPECT_TRUE(memory.Ready());
}

TEST_F(SharedMemoryTest, WriteSurvivesTheObjectBeingShrunk) {
    SharedSensorMemory memory(shm_, lock_);
    ASSERT_TRUE(memory.Create());
    // Only a process of the same user can do this; the monitor must live on.
    int fd = shm_open(shm_.c_str(), O_RDWR, 0);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, 0), 0);
    close(fd);

    const HmSharedBlock block = SampleBlock(7);
    memory.Write(block);
    auto object = Inspect(shm_);
    ASSERT_TRUE(object);
    ASSERT_EQ(object->Bytes.size(), kSharedMappingBytes);
    EXPECT_TRUE(std::equal(block.begin(), block.end(), object->Bytes.begin()));
}

// Programs the monitor starts (and which may outlive it) must not inherit the
// lock or the object: the lock would stay held after the monitor's exit.
TEST_F(SharedMemoryTest, DescriptorsAreNotInheritedByStartedPrograms) {
    SharedSensorMemory memory(shm_, lock_);
    ASSERT_TRUE(memory.Create());
    int found = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code ec;
        const std::string target = std::filesystem::read_symlink(entry.path(), ec).string();
        if (ec || (target != "/dev/shm" + shm_ && target != "/dev/shm" + lock_))
            continue;
        ++found;
        const int fd = std::stoi(entry.path().filename().string());
        EXPECT_TRUE(fcntl(fd, F_GETFD) & FD_CLOEXEC) << target;
    }
    EXPECT_EQ(found, 2);
}
