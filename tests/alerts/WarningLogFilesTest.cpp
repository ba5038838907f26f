// The warning log is the user's record: it is written only into a regular
// file of its name, a failure to write it is said once, and a restart keeps
// the previous content as one older generation.
#include "LogFolder.h"

#include "alerts/WarningLog.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace sentinax {
namespace {

namespace fs = std::filesystem;
using testing::FixedTime;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

TEST(WarningLogGenerations, ARestartKeepsThePreviousContentAsOneGeneration) {
    testing::LogFolder folder;
    std::ostringstream errors;
    WarningLog log(folder.LogPath(), FixedTime, &errors);
    for (int i = 0; i < 501; ++i)
        log.AppendLogLine("first run\n");
    log.AppendLogLine("second\n");
    EXPECT_EQ(folder.Bytes(), "second\r\n\r\n");
    EXPECT_EQ(Count(ReadAll(log.PreviousPath()), "first run\r\n\r\n"), 501u);

    for (int i = 0; i < 500; ++i)
        log.AppendLogLine("second\n");
    log.AppendLogLine("third\n");
    EXPECT_EQ(folder.Bytes(), "third\r\n\r\n");
    const std::string previous = ReadAll(log.PreviousPath());
    EXPECT_EQ(Count(previous, "second\r\n\r\n"), 501u);
    EXPECT_EQ(Count(previous, "first run"), 0u) << "one generation only";
    EXPECT_EQ(errors.str(), "");
}

// Whatever is planted under the name is left as it was; the lines are lost,
// said once, and counted (so the restart rule is unchanged).
TEST(WarningLogFiles, OnlyARegularFileOfThatNameIsWritten) {
    testing::LogFolder folder;
    const std::string path = folder.LogPath();
    const std::string precious = folder.Dir() + "/precious.txt";
    const struct {
        const char* what;
        std::function<void()> plant;
        const char* why;
    } cases[] = {
        {"a link to another file",
         [&] {
             std::ofstream(precious) << "keep me";
             fs::create_symlink(precious, path);
         },
         "is a symbolic link"},
        {"a dangling link", [&] { fs::create_symlink(folder.Dir() + "/nowhere", path); },
         "is a symbolic link"},
        {"a FIFO without a reader", [&] { ::mkfifo(path.c_str(), 0600); }, "is a FIFO"},
        {"a folder", [&] { fs::create_directory(path); }, "is a directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(path);
        fs::remove(precious);
        c.plant();
        std::ostringstream errors;
        WarningLog log(path, FixedTime, &errors);
        log.SetLogLineCount(500);
        for (int i = 0; i < 3; ++i) // the third restarts the file
            log.AppendLogLine("lost\n");
        EXPECT_EQ(log.LogLineCount(), 2u);
        EXPECT_TRUE(log.Failing());
        EXPECT_EQ(errors.str(), "cannot write the warning log " + path + ": " + c.why +
                                    "; warnings are still shown and sounded\n");
        EXPECT_FALSE(fs::exists(log.PreviousPath())) << "nothing but a regular file is moved";
        EXPECT_FALSE(fs::is_regular_file(fs::symlink_status(path)));
        if (fs::exists(precious)) {
            EXPECT_EQ(ReadAll(precious), "keep me");
        }
        // The name becomes a plain file again: writing resumes, and a later
        // failure is said again.
        fs::remove_all(path);
        log.AppendLogLine("back\n");
        EXPECT_FALSE(log.Failing());
        EXPECT_EQ(folder.Bytes(), "back\r\n\r\n");
        fs::remove(path);
        fs::create_directory(path);
        log.AppendLogLine("lost again\n");
        EXPECT_EQ(Count(errors.str(), "cannot write the warning log"), 2u);
    }
}

// A full disk, played by the file size limit (which works for root too).
TEST(WarningLogFiles, AFullDiskIsReportedOnce) {
    testing::LogFolder folder;
    const std::string path = folder.LogPath();
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100, 100};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::ostringstream errors;
        WarningLog log(path, FixedTime, &errors);
        for (int i = 0; i < 10; ++i)
            log.AppendLogLine(FormatChassisWarning(log.Now()));
        const std::string text = errors.str();
        [[maybe_unused]] auto n = ::write(pipeFds[1], text.data(), text.size());
        ::_exit(log.Failing() ? 0 : 1);
    }
    ::close(pipeFds[1]);
    std::string text;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(Count(text, "cannot write the warning log"), 1u) << text;
    EXPECT_NE(text.find("File too large"), std::string::npos) << text;
    // Two 48-byte records fit the 100 bytes; the third is taken back whole.
    const std::string record = "03/25/2024 09:05:02 CHASSIS INTRUSION WARNING\r\n\r\n";
    EXPECT_EQ(folder.Bytes(), record + record);
}

} // namespace
} // namespace sentinax
