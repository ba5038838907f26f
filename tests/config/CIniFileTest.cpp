#include "config/CIniFile.h"
#include "TestFiles.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace sentinax {
namespace {

using testing::Fixture;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

struct Write {
    const char* section;
    const char* key;
    std::string value;
};

std::vector<std::string> DirectoryEntries(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    return names;
}

TEST(CIniFile, ReadsHandEditedFixture) {
    const CIniFile ini(std::string(SX_CONFIG_FIXTURES) + "/hand_edited.ini");
    EXPECT_EQ(ini.GetString("Screen", "Main", ""), "Face Main.jpg");
    EXPECT_EQ(ini.GetString("Screen", "Over", ""), "Over.jpg");
    EXPECT_EQ(ini.GetString("Screen", "IntervalTime", ""), "12abc");
    EXPECT_EQ(ini.GetString("Screen", "SoundWarning", "none"), "none");
    EXPECT_EQ(ini.GetString("Screen", "Long", "").size(), 2047u);
    std::vector<std::string> keys;
    EXPECT_TRUE(ini.GetKeyNames("TRACKBARINFO", keys));
    EXPECT_EQ(keys, (std::vector<std::string>{"3", "1", "2", "19"}));
}

TEST(CIniFile, MissingFileReadsDefaultsAndIsCreatedByAWrite) {
    TempDir dir;
    CIniFile ini(dir.File("Skin.ini"));
    EXPECT_EQ(ini.GetString("Screen", "Celsius", "d"), "d");
    ASSERT_TRUE(ini.WriteString("SCREEN", "Celsius", "1"));
    EXPECT_EQ(ReadBytes(dir.File("Skin.ini")), "[SCREEN]\nCelsius=1\n");
    EXPECT_EQ(ini.GetString("screen", "celsius", ""), "1");
}

// Each fixture is edited through the file, and the result must differ from
// the fixture only where the table says.
TEST(CIniFile, WritesFixturesChangingOnlyTheirValues) {
    const struct {
        const char* fixture;
        std::vector<Write> writes;
        std::vector<std::pair<std::string, std::string>> replaced; // old text, new text
    } cases[] = {
        {"crlf.ini",
         {{"SCREEN", "IntervalTime", "5"}, {"screen", "SoundWarning", "0"}},
         {{"  intervaltime =  7  \r\n", "  intervaltime =  5\r\n"},
          {"Celsius=1\r\n", "Celsius=1\r\nSoundWarning=0\r\n"}}},
        {"crlf.ini",
         {{"TRACKBARINFO", "2", "CPU_TEMP_LOWER_LIMIT,Normal.jpg,Sel.jpg,160,40,55,18,H,4"}},
         {{"2=CPU_TEMP_LOWER_LIMIT,Thumb.png,ThumbSel.png,10,40,55,18,H,15\r\n",
           "2=CPU_TEMP_LOWER_LIMIT,Normal.jpg,Sel.jpg,160,40,55,18,H,4\r\n"}}},
        {"lf_no_final_newline.ini",
         {{"Screen", "Celsius", "0"}},
         {{"SoundWarning=1\n", "SoundWarning=1\nCelsius=0\n"}}},
        {"lf_no_final_newline.ini",
         {{"TRACKBARINFO", "1", "x,9"}},
         {{"1=CPU_TEMP_UPPER_LIMIT,Normal.jpg,Sel.jpg,215,40,55,18,H,50", "1=x,9"}}},
        {"lf_no_final_newline.ini", {{"TRACKBARINFO", "2", "y"}}, {{"H,50", "H,50\n2=y\n"}}},
        {"hand_edited.ini",
         {{"Screen", "SoundWarning", "1"}},
         {{"\njunk line", "\nSoundWarning=1\njunk line"}}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const std::string original = Fixture(c.fixture);
        WriteBytes(dir.File("Skin.ini"), original);
        CIniFile ini(dir.File("Skin.ini"));
        for (const Write& w : c.writes)
            ASSERT_TRUE(ini.WriteString(w.section, w.key, w.value)) << c.fixture;
        std::string expected = original;
        for (const auto& [from, to] : c.replaced) {
            const std::size_t at = expected.find(from);
            ASSERT_NE(at, std::string::npos) << from;
            // Inserted keys go after the last key of the section: the table
            // marks the place by the line they follow.
            expected.replace(at, from.size(), to);
        }
        EXPECT_EQ(ReadBytes(dir.File("Skin.ini")), expected) << c.fixture;
        const CIniFile reread(dir.File("Skin.ini"));
        for (const Write& w : c.writes)
            EXPECT_EQ(reread.GetString(w.section, w.key, "-"), w.value);
    }
}

TEST(CIniFile, OneCommitEqualsTheSameWritesOneByOne) {
    const std::vector<Write> writes = {{"TRACKBARINFO", "2", "row two"},
                                       {"NEW", "a", "1"},
                                       {"SCREEN", "Celsius", "0"},
                                       {"screen", "CELSIUS", "1"},
                                       {"New", "b", "2"}};
    TempDir dir;
    WriteBytes(dir.File("one.ini"), Fixture("crlf.ini"));
    WriteBytes(dir.File("batch.ini"), Fixture("crlf.ini"));
    CIniFile one(dir.File("one.ini"));
    for (const Write& w : writes)
        ASSERT_TRUE(one.WriteString(w.section, w.key, w.value));

    CIniFile batch(dir.File("batch.ini"));
    for (const Write& w : writes)
        ASSERT_TRUE(batch.SetString(w.section, w.key, w.value));
    EXPECT_EQ(ReadBytes(dir.File("batch.ini")), Fixture("crlf.ini")) << "written before Commit";
    // Someone edits the file meanwhile: the commit keeps that edit.
    WriteBytes(dir.File("batch.ini"), Fixture("crlf.ini") + "[Other]\r\nz=1\r\n");
    WriteBytes(dir.File("one.ini"), ReadBytes(dir.File("one.ini")) + "[Other]\r\nz=1\r\n");
    ASSERT_TRUE(batch.Commit());
    std::string expected = Fixture("crlf.ini") + "[Other]\r\nz=1\r\n";
    CIniFile again(dir.File("expected.ini"));
    WriteBytes(dir.File("expected.ini"), expected);
    for (const Write& w : writes)
        again.WriteString(w.section, w.key, w.value);
    EXPECT_EQ(ReadBytes(dir.File("batch.ini")), ReadBytes(dir.File("expected.ini")));
    EXPECT_TRUE(batch.Commit()) << "nothing left to write";
}

TEST(CIniFile, KeepsPermissionsAndWritesThroughALink) {
    TempDir dir;
    const testing::InFolder work(dir.Path()); // the link leads within the working folder
    WriteBytes(dir.File("real.ini"), "[S]\nk=1\n");
    ASSERT_EQ(::chmod(dir.File("real.ini").c_str(), 0640), 0);
    std::filesystem::create_symlink("real.ini", dir.File("Skin.ini"));
    ASSERT_TRUE(CIniFile(dir.File("Skin.ini")).WriteString("S", "k", "2"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("Skin.ini")));
    EXPECT_EQ(ReadBytes(dir.File("real.ini")), "[S]\nk=2\n");
    struct stat st {};
    ASSERT_EQ(::stat(dir.File("real.ini").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(DirectoryEntries(dir.Path()).size(), 2u) << "no temporary file left";
}

TEST(CIniFile, ReadOnlyFileIsLeftIntact) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may write read-only files";
    TempDir dir;
    WriteBytes(dir.File("Skin.ini"), "[S]\nk=1\n");
    ASSERT_EQ(::chmod(dir.File("Skin.ini").c_str(), 0444), 0);
    EXPECT_FALSE(CIniFile(dir.File("Skin.ini")).WriteString("S", "k", "2"));
    EXPECT_EQ(ReadBytes(dir.File("Skin.ini")), "[S]\nk=1\n");
}

TEST(CIniFile, MissingFolderFailsWithoutCreatingAnything) {
    TempDir dir;
    CIniFile ini(dir.File("Skins/Skin.ini"));
    EXPECT_FALSE(ini.WriteString("S", "k", "1"));
    EXPECT_TRUE(DirectoryEntries(dir.Path()).empty());
    EXPECT_FALSE(ini.Commit()) << "a failed write stays queued";
}

// A full disk: the file size limit makes the write of the temporary file fail
// the same way (this works for root too).
TEST(CIniFile, FailedWriteLeavesTheOldFile) {
    TempDir dir;
    const std::string original = Fixture("crlf.ini");
    WriteBytes(dir.File("Skin.ini"), original);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{300, 300};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const bool ok = CIniFile(dir.File("Skin.ini")).WriteString("S", "k", std::string(400, 'x'));
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1) << "the write must report failure";
    EXPECT_EQ(ReadBytes(dir.File("Skin.ini")), original);
    EXPECT_EQ(DirectoryEntries(dir.Path()).size(), 1u) << "no temporary file left";
}

TEST(CIniFile, KillDuringWritesLeavesOldOrNewFile) {
    TempDir dir;
    const std::string path = dir.File("Skin.ini");
    // Large values make each write take long enough to be interrupted.
    const std::string a(200000, 'a'), b(300000, 'b');
    const std::string fileA = "[S]\nk=" + a + "\n";
    const std::string fileB = "[S]\nk=" + b + "\n";
    int sawNew = 0;
    for (int round = 0; round < 8; ++round) {
        WriteBytes(path, fileA);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i)
                CIniFile(path).WriteString("S", "k", i % 2 ? a : b);
        }
        ::usleep(3000 + 6000 * round);
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::string after = ReadBytes(path);
        EXPECT_TRUE(after == fileA || after == fileB)
            << "round " << round << ": " << after.size() << " bytes";
        sawNew += after == fileB;
    }
    // Otherwise the child never got a write done and the test proved nothing.
    EXPECT_GT(sawNew, 0);
}

} // namespace
} // namespace sentinax
