// The safe file opener every reader of outside files goes through: whatever
// sits under a name, the call returns at once with the file or a reason.
#include "hardware/RegularFile.h"
#include "ScratchFolder.h"
#include "hardware/BoardTable.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace sentinax;

namespace {

namespace fs = std::filesystem;

class OddFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(dir_.empty());
        std::ofstream(Path("plain")) << "twelve bytes";
        std::ofstream(Path("empty"));
        fs::create_directory(Path("folder"));
        ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
        fs::create_symlink("/dev/zero", Path("zero"));
        fs::create_symlink("plain", Path("link"));
    }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }

    test::ScratchFolder scratch_{"sx-files"};
    std::string dir_ = scratch_.Path().string();
};

// A FIFO without a writer would block a plain open or read for ever: every
// case here must come back at once (a hang fails the test by its timeout).
TEST_F(OddFiles, ReadRegularFileNamesWhatItFound) {
    const struct {
        const char* name;
        std::size_t cap;
        int flags;
        FileStatus status;
        const char* why;
        const char* bytes;
    } cases[] = {
        {"plain", 100, 0, FileStatus::Ok, "", "twelve bytes"},
        {"plain", 12, 0, FileStatus::Ok, "", "twelve bytes"}, // exactly at the cap
        {"plain", 11, 0, FileStatus::TooLarge, "is larger than 11 bytes", ""},
        {"empty", 0, 0, FileStatus::Ok, "", ""},
        {"missing", 100, 0, FileStatus::Missing, "does not exist", ""},
        {"folder", 100, 0, FileStatus::NotRegular, "is a directory", ""},
        {"fifo", 100, 0, FileStatus::NotRegular, "is a FIFO", ""},
        {"zero", 1 << 20, 0, FileStatus::NotRegular, "is a character device", ""},
        {"link", 100, 0, FileStatus::Ok, "", "twelve bytes"},
        {"link", 100, O_NOFOLLOW, FileStatus::NotRegular, "is a symbolic link", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " cap " + std::to_string(c.cap));
        std::string out = "stale";
        const FileCheck check = ReadRegularFile(Path(c.name), c.cap, out, c.flags);
        EXPECT_EQ(check.Status, c.status);
        EXPECT_EQ(check.Why, c.why);
        EXPECT_EQ(out, c.bytes);
    }
}

TEST_F(OddFiles, OpeningForWritingRefusesAllButRegularFiles) {
    FileCheck check;
    // No reader on the FIFO: a blocking open for writing would wait for one.
    EXPECT_EQ(OpenRegularFile(Path("fifo"), O_WRONLY | O_APPEND, check), -1);
    EXPECT_EQ(check.Why, "is a FIFO");
    EXPECT_EQ(OpenRegularFile(Path("link"), O_WRONLY | O_APPEND | O_NOFOLLOW, check), -1);
    EXPECT_EQ(check.Why, "is a symbolic link");
    EXPECT_EQ(OpenRegularFile(Path("folder"), O_WRONLY | O_CREAT, check), -1);
    EXPECT_EQ(check.Status, FileStatus::NotRegular);

    const int fd = OpenRegularFile(Path("new"), O_WRONLY | O_CREAT | O_NOFOLLOW, check, 0600);
    ASSERT_GE(fd, 0) << check.Why;
    EXPECT_TRUE(check.Ok());
    EXPECT_EQ(::fcntl(fd, F_GETFL) & O_NONBLOCK, 0) << "handed over in blocking mode";
    EXPECT_NE(::fcntl(fd, F_GETFD) & FD_CLOEXEC, 0) << "not inherited by started tools";
    ::close(fd);
}

TEST(ByteCounts, ReadLikeCapsAreWritten) {
    EXPECT_EQ(DescribeByteCount(16u << 20), "16 MiB");
    EXPECT_EQ(DescribeByteCount(64u << 10), "64 KiB");
    EXPECT_EQ(DescribeByteCount(1000), "1000 bytes");
}

// The board tables go through the same opener: a FIFO or /dev/zero under
// either name neither stalls nor fills the memory, and is reported.
TEST_F(OddFiles, BoardTablesThatAreNotFilesAreReportedAndSkipped) {
    std::ofstream(Path("user.table")) << "[ChipSelector]\nboard 7001 => ChipSelector=9\n";
    {
        std::ofstream big(Path("big.table"));
        big << "[ChipSelector]\n";
        big << std::string(kMaxBoardTableBytes, '#') << '\n';
    }
    const struct {
        const char* shipped;
        const char* user;
        const char* message; // empty: nothing reported
        size_t rows;
    } cases[] = {
        {"fifo", "user.table", "fifo: cannot open the board table: is a FIFO", 1},
        {"zero", "user.table", "zero: cannot open the board table: is a character device", 1},
        {"big.table", "user.table", "big.table: cannot open the board table: is larger than 1 MiB",
         1},
        {"user.table", "fifo",
         "fifo: cannot open the board table: is a FIFO; its rows are not used", 1},
        {"user.table", "folder", "folder: cannot open the board table: is a directory", 1},
        {"user.table", "missing", "", 1}, // no user table is normal
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.shipped) + " + " + c.user);
        std::ostringstream errors;
        const BoardTable table = LoadBoardTables(Path(c.shipped), Path(c.user), errors);
        EXPECT_EQ(table.RowCount(), c.rows);
        if (*c.message == '\0')
            EXPECT_EQ(errors.str(), "");
        else
            EXPECT_NE(errors.str().find(c.message), std::string::npos) << errors.str();
    }
}

} // namespace
