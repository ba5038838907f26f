// What the settings file accessor does with files that are not what they
// should be: too many rows, something other than a file under the name, and
// the leftovers of a save that was killed.
#include "TestFiles.h"
#include "config/CIniFile.h"
#include "config/IniDocument.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace sentinax {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

constexpr std::size_t kCap = IniDocument::kMaxRowsPerSection;

std::string Rows(const char* section, std::size_t count, std::size_t first = 1) {
    std::string text = std::string("[") + section + "]\n";
    for (std::size_t n = first; n < first + count; ++n)
        text += std::to_string(n) + "=row " + std::to_string(n) + "\n";
    return text;
}

// A section is read up to the cap, in file order; the rest is neither read
// nor written, and stays in the text byte for byte.
TEST(IniDocumentLimits, ReadsTheFirstRowsOfAnOverfullSection) {
    const std::string text = Rows("BUTTONINFO", kCap + 44) + Rows("TEXTINFO", 3);
    IniDocument doc(text);
    std::vector<std::string> names;
    ASSERT_TRUE(doc.GetKeyNames("buttoninfo", names));
    ASSERT_EQ(names.size(), kCap);
    EXPECT_EQ(names.front(), "1");
    EXPECT_EQ(names.back(), std::to_string(kCap));
    EXPECT_EQ(doc.GetString("BUTTONINFO", std::to_string(kCap), "-"),
              "row " + std::to_string(kCap));
    EXPECT_EQ(doc.GetString("BUTTONINFO", std::to_string(kCap + 1), "-"), "-");
    EXPECT_EQ(doc.GetString("TEXTINFO", "3", "-"), "row 3") << "the next section is whole";

    ASSERT_EQ(doc.OverfullSections().size(), 1u);
    EXPECT_EQ(doc.OverfullSections()[0].Section, "BUTTONINFO");
    EXPECT_EQ(doc.OverfullSections()[0].Rows, kCap + 44);

    // A row that is read can be rewritten; a new one cannot join, and a row
    // beyond the cap is not silently duplicated.
    EXPECT_TRUE(doc.SetString("BUTTONINFO", "2", "changed"));
    EXPECT_FALSE(doc.SetString("BUTTONINFO", "new", "v"));
    EXPECT_FALSE(doc.SetString("BUTTONINFO", std::to_string(kCap + 1), "v"));
    std::string expected = text;
    expected.replace(expected.find("2=row 2"), 7, "2=changed");
    EXPECT_EQ(doc.Bytes(), expected);
    EXPECT_EQ(doc.OverfullSections().size(), 1u) << "listed once, also after an edit";
}

TEST(IniDocumentLimits, EveryKeyLineCountsTowardsTheCap) {
    // Duplicates and keys that are not row numbers are rows of the section too.
    std::string text = "[S]\n";
    for (std::size_t n = 0; n < kCap; ++n)
        text += "dup=" + std::to_string(n) + "\n";
    text += "late=1\n";
    const IniDocument doc(text);
    EXPECT_EQ(doc.GetString("S", "dup", "-"), "0");
    EXPECT_EQ(doc.GetString("S", "late", "-"), "-");
    std::vector<std::string> names;
    doc.GetKeyNames("S", names);
    EXPECT_EQ(names.size(), kCap);
}

TEST(CIniFileLimits, AnOverfullSectionIsReportedOnceWhenRead) {
    TempDir dir;
    WriteBytes(dir.File("Skin.ini"), Rows("Screen", 2) + Rows("TRACKBARINFO", 1000));
    std::ostringstream messages;
    const CIniFile ini(dir.File("Skin.ini"), messages);
    EXPECT_EQ(ini.GetString("Screen", "1", ""), "row 1");
    EXPECT_EQ(messages.str(), "") << "a section is reported when it is read";
    std::vector<std::string> keys;
    ini.GetKeyNames("TRACKBARINFO", keys);
    for (std::size_t n = 1; n <= keys.size(); ++n)
        ini.GetString("TRACKBARINFO", std::to_string(n), "");
    EXPECT_EQ(messages.str(), dir.File("Skin.ini") +
                                  ": [TRACKBARINFO] has 1000 rows; only the first 256 are read\n");
}

// Anything but a regular file reads as empty at once, says why, and is never
// replaced by a save (its content, if any, would be lost).
TEST(CIniFileLimits, SomethingElseUnderTheNameIsReportedAndNeverSavedOver) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.File("fifo.ini").c_str(), 0600), 0);
    std::filesystem::create_directory(dir.File("folder.ini"));
    std::filesystem::create_symlink("/dev/zero", dir.File("zero.ini"));
    {
        std::ofstream big(dir.File("big.ini"));
        big << "[Screen]\nIntervalTime=5\n" << std::string(CIniFile::kMaxFileBytes, ';');
    }
    WriteBytes(dir.File("empty.ini"), "");
    const struct {
        const char* name;
        CIniFile::ReadState state;
        const char* why;
    } cases[] = {
        {"fifo.ini", CIniFile::ReadState::Unreadable, "is a FIFO"},
        {"folder.ini", CIniFile::ReadState::Unreadable, "is a directory"},
        {"zero.ini", CIniFile::ReadState::Unreadable, "is a character device"},
        {"big.ini", CIniFile::ReadState::Unreadable, "is larger than 16 MiB"},
        {"missing.ini", CIniFile::ReadState::Missing, ""},
        {"empty.ini", CIniFile::ReadState::Read, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::ostringstream messages;
        CIniFile ini(dir.File(c.name), messages);
        EXPECT_EQ(ini.GetString("Screen", "IntervalTime", "d"), "d");
        EXPECT_EQ(ini.State(), c.state);
        EXPECT_EQ(ini.Problem(), c.why);
        if (c.state == CIniFile::ReadState::Unreadable) {
            EXPECT_EQ(messages.str(), "cannot read " + dir.File(c.name) + ": " + c.why + "\n");
            EXPECT_FALSE(ini.WriteString("SCREEN", "Celsius", "1"));
        } else {
            EXPECT_EQ(messages.str(), "");
        }
    }
    struct stat st {};
    ASSERT_EQ(::lstat(dir.File("fifo.ini").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("zero.ini")));
    EXPECT_EQ(std::filesystem::file_size(dir.File("big.ini")), 24 + CIniFile::kMaxFileBytes);
}

// The temporaries of a killed save are removed by the next start's first
// read; those of a process that still runs, and other files, stay.
TEST(CIniFileLimits, TheFirstReadRemovesTemporariesOfProcessesThatAreGone) {
    TempDir dir;
    const std::string path = dir.File("Skin.ini");
    WriteBytes(path, "[S]\nk=1\n");

    // A save killed half-way, for real.
    const pid_t writer = ::fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        const std::string big(400000, 'x');
        for (int i = 0;; ++i)
            CIniFile(path).WriteString("S", "k", big + std::to_string(i));
    }
    // A process that is still running, and one that has ended.
    const pid_t running = ::fork();
    ASSERT_GE(running, 0);
    if (running == 0) {
        ::pause();
        ::_exit(0);
    }
    const pid_t ended = ::fork();
    ASSERT_GE(ended, 0);
    if (ended == 0)
        ::_exit(0);
    ::waitpid(ended, nullptr, 0);

    std::string leftover;
    for (int attempt = 0; attempt < 400 && leftover.empty(); ++attempt) {
        ::usleep(2000);
        ::kill(writer, SIGSTOP);
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
            if (entry.path().filename().string().rfind(".Skin.ini.tmp", 0) == 0)
                leftover = entry.path().filename().string();
        if (leftover.empty())
            ::kill(writer, SIGCONT);
    }
    ::kill(writer, SIGKILL);
    ::waitpid(writer, nullptr, 0);
    ASSERT_FALSE(leftover.empty()) << "the save was never caught half-way";

    const std::string live = ".Skin.ini.tmp" + std::to_string(running) + "-0";
    const std::string dead = ".Skin.ini.tmp" + std::to_string(ended) + "-3";
    WriteBytes(dir.File(live), "in progress");
    WriteBytes(dir.File(dead), "half");
    WriteBytes(dir.File(".Skin.ini.tmpjunk"), "not ours");
    WriteBytes(dir.File(".Other.ini.tmp" + std::to_string(ended) + "-0"), "another file's");
    std::filesystem::create_symlink(path, dir.File(".Skin.ini.tmp" + std::to_string(ended) + "-4"));

    std::ostringstream messages;
    const CIniFile ini(path, messages);
    EXPECT_EQ(ini.GetString("S", "missing", "-"), "-");
    ::kill(running, SIGKILL);
    ::waitpid(running, nullptr, 0);

    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::vector<std::string> expected = {".Other.ini.tmp" + std::to_string(ended) + "-0",
                                         ".Skin.ini.tmp" + std::to_string(ended) + "-4", live,
                                         ".Skin.ini.tmpjunk", "Skin.ini"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
    EXPECT_NE(messages.str().find("removed " + dir.File(leftover)), std::string::npos)
        << messages.str();
    EXPECT_NE(messages.str().find("removed " + dir.File(dead)), std::string::npos);
    const std::string after = ReadBytes(path);
    EXPECT_EQ(after.rfind("[S]\nk=", 0), 0u) << "the file itself is whole";
}

} // namespace
} // namespace sentinax
