// `--autostart on|off`: the entry is written only where it belongs, never
// through something planted, and a failure names its cause.
#include "app/Autostart.h"
#include "ScratchFolder.h"
#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace sentinax {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;

class AutostartTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(dir.empty());
        entry = AutostartEntryPath(nullptr, dir.c_str());
        std::ofstream(dir / "precious") << "precious\n";
        ::chmod((dir / "precious").c_str(), 0600);
    }
    int Switch(bool on, const std::string& program = "/opt/sx/bin/sentinax4") {
        out.str("");
        errors.str("");
        return SwitchAutostart(on, entry, program, out, errors);
    }
    void ExpectPreciousUntouched() {
        EXPECT_EQ(ReadFile(dir / "precious"), "precious\n");
        EXPECT_EQ(fs::status(dir / "precious").permissions(),
                  fs::perms::owner_read | fs::perms::owner_write);
    }
    test::ScratchFolder scratch{"sx-autostart"};
    fs::path dir = scratch.Path();
    std::string entry;
    std::ostringstream out, errors;
};

TEST_F(AutostartTest, OnWritesTheEntryInFoldersOfTheUsersOwnAndOffRemovesIt) {
    ASSERT_EQ(Switch(true), 0) << errors.str();
    EXPECT_EQ(ReadFile(entry), AutostartEntry("/opt/sx/bin/sentinax4"));
    EXPECT_EQ(out.str(), "Sentinax 4 starts at log-in (" + entry + ").\n");
    EXPECT_EQ(fs::status(dir / ".config/autostart").permissions(), fs::perms::owner_all);
    ASSERT_EQ(Switch(false), 0);
    EXPECT_FALSE(fs::exists(entry));
    EXPECT_EQ(fs::directory_iterator(dir / ".config/autostart"), fs::directory_iterator());
}

// Whatever is planted where the entry or its folder goes is left alone, what
// it points to stays as it was, and the message says what is in the way.
TEST_F(AutostartTest, SomethingPlantedIsNeverWrittenThrough) {
    const struct {
        const char* what;
        std::function<void()> plant;
        int status;
        std::string message; // % stands for the entry's path
    } cases[] = {
        {"a link under the entry's name", [&] { fs::create_symlink(dir / "precious", entry); }, 1,
         "%: is a symbolic link; it is not followed\n"},
        {"a link under the temporary name earlier versions used",
         [&] { fs::create_symlink(dir / "precious", entry + ".tmp"); }, 0, ""},
        {"links under the temporary names",
         [&] {
             for (int n = 0; n < 3; ++n)
                 fs::create_symlink(dir / "precious", (dir / ".config/autostart").string() +
                                                          "/.sentinax4.desktop.tmp" +
                                                          std::to_string(::getpid()) + "-" +
                                                          std::to_string(n));
         },
         0, ""},
        {"a file in place of the autostart folder",
         [&] {
             fs::remove_all(dir / ".config/autostart");
             std::ofstream(dir / ".config/autostart") << "not a folder";
         },
         1,
         "%: " + (dir / ".config/autostart").string() +
             " is a regular file, not a folder\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(dir / ".config");
        fs::create_directories(dir / ".config/autostart");
        ::chmod((dir / ".config").c_str(), 0700);
        ::chmod((dir / ".config/autostart").c_str(), 0700);
        c.plant();
        EXPECT_EQ(Switch(true), c.status);
        std::string message = c.message;
        if (const auto at = message.find('%'); at != std::string::npos)
            message.replace(at, 1, entry);
        EXPECT_EQ(errors.str(), message);
        ExpectPreciousUntouched();
        if (c.status == 0) {
            EXPECT_EQ(ReadFile(entry), AutostartEntry("/opt/sx/bin/sentinax4"));
        }
    }
    // Off leaves a planted link alone too, and says so.
    fs::remove_all(dir / ".config/autostart");
    fs::create_directories(dir / ".config/autostart");
    fs::create_symlink(dir / "precious", entry);
    EXPECT_EQ(Switch(false), 1);
    EXPECT_EQ(errors.str(), entry + ": is a symbolic link; it is left as it is\n");
    ExpectPreciousUntouched();
}

// A line break in the program's path would smuggle lines into the entry.
TEST_F(AutostartTest, APathThatCannotBeWrittenIntoAnEntryIsRefused) {
    EXPECT_EQ(AutostartEntry("/opt/x\nExec=/tmp/evil"), "");
    EXPECT_EQ(Switch(true, "/opt/x\nExec=/tmp/evil/sentinax4"), 1);
    EXPECT_NE(errors.str().find("holds a line break"), std::string::npos) << errors.str();
    EXPECT_FALSE(fs::exists(entry));
    EXPECT_EQ(SwitchAutostart(true, "", "/x", out, errors), 1);
}

} // namespace
} // namespace sentinax
