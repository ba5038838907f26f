// Which folder the monitor works in, the per-user folder's first filling, and
// the program's own switches.
#include "app/WorkingFolder.h"
#include "ScratchFolder.h"
#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace sentinax {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;

class WorkingFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(dir.empty());
        // An installed data folder with two skins, a picture and the sound.
        fs::create_directories(dir / "share/sentinax/Skins");
        std::ofstream(dir / "share/sentinax/Skins/Skin.ini") << "[Screen]\nIntervalTime=3\n";
        std::ofstream(dir / "share/sentinax/Skins/SkinBB.ini") << "[Screen]\n";
        std::ofstream(dir / "share/sentinax/Skins/Main.jpg") << "jpeg";
        std::ofstream(dir / "share/sentinax/SOUND.wav") << "RIFF";
        fs::create_directories(dir / "home");
        fs::create_directories(dir / "started");
    }
    WorkingFolderChoice Choose(const char* dataHome) {
        return ChooseWorkingFolder((dir / "started").string(), dataHome, (dir / "home").c_str(),
                                   (dir / "share/sentinax").string());
    }
    test::ScratchFolder scratch{"sx-workdir"};
    fs::path dir = scratch.Path();
};

TEST_F(WorkingFolderTest, AFolderWithSkinsIsKept) {
    fs::create_directories(dir / "started/Skins");
    const WorkingFolderChoice choice = Choose(nullptr);
    EXPECT_EQ(choice.Folder, (dir / "started").string());
    EXPECT_TRUE(choice.Problems.empty());
    EXPECT_FALSE(fs::exists(dir / "home/.local"));
}

TEST_F(WorkingFolderTest, ThePerUserFolderIsFilledOnceAndTheUsersFilesStay) {
    const fs::path user = dir / "home/.local/share/sentinax";
    WorkingFolderChoice choice = Choose("relative/ignored");
    EXPECT_EQ(choice.Folder, user.string());
    EXPECT_TRUE(choice.Problems.empty());
    EXPECT_EQ(ReadFile(user / "Skins/Skin.ini"), "[Screen]\nIntervalTime=3\n");
    EXPECT_EQ(ReadFile(user / "Skins/Main.jpg"), "jpeg");
    EXPECT_EQ(ReadFile(user / "SOUND.wav"), "RIFF");
    struct stat st {};
    ASSERT_EQ(::stat(user.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u) << "a folder made for the user is the user's alone";

    // The user's settings and an upgrade's new files.
    std::ofstream(user / "Skins/Skin.ini") << "[Screen]\nIntervalTime=9\n";
    fs::remove(user / "SOUND.wav");
    std::ofstream(dir / "share/sentinax/Skins/Skin4120.ini") << "[Screen]\n";
    std::ofstream(dir / "share/sentinax/Skins/Skin.ini") << "[Screen]\nIntervalTime=5\n";
    choice = Choose(nullptr);
    EXPECT_EQ(choice.Folder, user.string());
    EXPECT_EQ(ReadFile(user / "Skins/Skin.ini"), "[Screen]\nIntervalTime=9\n");
    EXPECT_TRUE(fs::exists(user / "Skins/Skin4120.ini"));
    EXPECT_EQ(ReadFile(user / "SOUND.wav"), "RIFF");
    for (const auto& entry : fs::directory_iterator(user / "Skins"))
        EXPECT_EQ(entry.path().filename().string().find(".seed"), std::string::npos);
}

TEST_F(WorkingFolderTest, XdgDataHomeWins) {
    EXPECT_EQ(Choose((dir / "data").c_str()).Folder, (dir / "data/sentinax").string());
    EXPECT_TRUE(fs::exists(dir / "data/sentinax/Skins/SkinBB.ini"));
    EXPECT_EQ(UserDataFolder(nullptr, nullptr), "");
    EXPECT_EQ(UserDataFolder("", "/h"), "/h/.local/share/sentinax");
}

// A per-user folder that cannot be made or used never makes the monitor work
// in the folder it was started in: it reads the installed skins where they
// are, says why, and writes nothing into its working folder.
TEST_F(WorkingFolderTest, NoUsablePerUserFolderNeverMeansTheStartFolder) {
    const std::string installed = (dir / "share/sentinax").string();
    const struct {
        const char* what;
        std::function<std::string()> dataHome;
        const char* cause;
    } cases[] = {
        {"a file in its place",
         [&] {
             std::ofstream(dir / "file") << "not a folder";
             return (dir / "file").string();
         },
         "/file is a regular file, not a folder"},
        {"a folder other users can change",
         [&] {
             fs::create_directories(dir / "open/sentinax");
             ::chmod((dir / "open/sentinax").c_str(), 0777);
             return (dir / "open").string();
         },
         "can be changed by other users"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string dataHome = c.dataHome();
        const WorkingFolderChoice choice = Choose(dataHome.c_str());
        EXPECT_EQ(choice.Folder, installed);
        EXPECT_FALSE(choice.Writable);
        EXPECT_NE(choice.Reason.find(c.cause), std::string::npos) << choice.Reason;
        EXPECT_NE(choice.Reason.find("not written in this run"), std::string::npos);
    }
    // Without HOME and without installed data there is nothing to read either.
    const WorkingFolderChoice bare =
        ChooseWorkingFolder((dir / "started").string(), nullptr, nullptr, "");
    EXPECT_EQ(bare.Folder, "/");
    EXPECT_FALSE(bare.Writable);
    EXPECT_NE(bare.Reason.find("there is no per-user folder"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(dir / "started"));
}

// Links planted in the per-user folder, under a file's name or under the
// temporary name a copy would take, are never written through.
TEST_F(WorkingFolderTest, SeedingNeverWritesThroughAPlantedLink) {
    const fs::path user = dir / "home/.local/share/sentinax";
    fs::create_directories(user / "Skins");
    std::ofstream(dir / "precious") << "precious\n";
    fs::create_symlink(dir / "precious", user / "Skins/Skin.ini");
    for (const char* name : {"SkinBB.ini", "Main.jpg"})
        for (int n = 0; n < 2; ++n)
            fs::create_symlink(dir / "precious",
                               user / "Skins" /
                                   ("." + std::string(name) + ".tmp" + std::to_string(::getpid()) +
                                    "-" + std::to_string(n)));
    const WorkingFolderChoice choice = Choose(nullptr);
    EXPECT_EQ(choice.Folder, user.string());
    EXPECT_EQ(ReadFile(dir / "precious"), "precious\n");
    EXPECT_TRUE(fs::is_symlink(user / "Skins/Skin.ini"));
    EXPECT_EQ(ReadFile(user / "Skins/SkinBB.ini"), "[Screen]\n");
    EXPECT_EQ(ReadFile(user / "Skins/Main.jpg"), "jpeg");
    ASSERT_EQ(choice.Problems.size(), 1u);
    EXPECT_EQ(choice.Problems[0], (user / "Skins/Skin.ini").string() +
                                      ": is a symbolic link; the installed copy is not put in "
                                      "its place");
}

TEST(CommandLine, OwnSwitchesAreTakenAndTheRestLeftToQt) {
    CommandLine line = ParseCommandLine(
        {"sentinax4", "-platform", "offscreen", "--metrics-dir", "/m", "--autostart", "off"},
        "/from-env");
    EXPECT_EQ(line.MetricsFolder, "/m");
    EXPECT_EQ(line.AutostartSwitch, CommandLine::Autostart::Off);
    EXPECT_EQ(line.Rest, (std::vector<std::string>{"sentinax4", "-platform", "offscreen"}));
    EXPECT_TRUE(line.Error.empty());

    EXPECT_EQ(ParseCommandLine({"sentinax4"}, "/from-env").MetricsFolder, "/from-env");
    EXPECT_FALSE(ParseCommandLine({"sentinax4", "--autostart", "maybe"}, nullptr).Error.empty());
    EXPECT_FALSE(ParseCommandLine({"sentinax4", "--metrics-dir"}, nullptr).Error.empty());
    EXPECT_TRUE(ParseCommandLine({"sentinax4", "--help"}, nullptr).Help);
    const CommandLine headless =
        ParseCommandLine({"sentinax4", "--settings", "/etc/s.ini", "--headless"}, nullptr);
    EXPECT_TRUE(headless.Headless);
    EXPECT_EQ(headless.SettingsFile, "/etc/s.ini");
    EXPECT_TRUE(headless.Error.empty());
    // A settings file the window would ignore, and one not named, are errors.
    EXPECT_FALSE(ParseCommandLine({"sentinax4", "--settings", "/s.ini"}, nullptr).Error.empty());
    EXPECT_FALSE(
        ParseCommandLine({"sentinax4", "--headless", "--settings", ""}, nullptr).Error.empty());

    const std::string entry = AutostartEntry("/opt/my \"tools\"/bin/sentinax4");
    EXPECT_NE(entry.find("Exec=\"/opt/my \\\"tools\\\"/bin/sentinax4\"\n"), std::string::npos);
    EXPECT_EQ(AutostartEntryPath(nullptr, "/home/u"),
              "/home/u/.config/autostart/sentinax4.desktop");
    EXPECT_EQ(AutostartEntryPath("/c", "/home/u"), "/c/autostart/sentinax4.desktop");
}

} // namespace
} // namespace sentinax
