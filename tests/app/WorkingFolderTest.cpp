// Which folder the monitor works in, the per-user folder's first filling, and
// the program's own switches.
#include "app/WorkingFolder.h"
#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace sentinax {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

class WorkingFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/sx-workdir-XXXXXX";
        dir = ::mkdtemp(pattern);
        // An installed data folder with two skins, a picture and the sound.
        fs::create_directories(dir / "share/sentinax/Skins");
        std::ofstream(dir / "share/sentinax/Skins/Skin.ini") << "[Screen]\nIntervalTime=3\n";
        std::ofstream(dir / "share/sentinax/Skins/SkinBB.ini") << "[Screen]\n";
        std::ofstream(dir / "share/sentinax/Skins/Main.jpg") << "jpeg";
        std::ofstream(dir / "share/sentinax/SOUND.wav") << "RIFF";
        fs::create_directories(dir / "home");
        fs::create_directories(dir / "started");
    }
    void TearDown() override {
        ::chmod(dir.c_str(), 0700);
        fs::remove_all(dir);
    }
    WorkingFolderChoice Choose(const char* dataHome) {
        return ChooseWorkingFolder((dir / "started").string(), dataHome, (dir / "home").c_str(),
                                   (dir / "share/sentinax").string());
    }
    fs::path dir;
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
    EXPECT_EQ(Read(user / "Skins/Skin.ini"), "[Screen]\nIntervalTime=3\n");
    EXPECT_EQ(Read(user / "Skins/Main.jpg"), "jpeg");
    EXPECT_EQ(Read(user / "SOUND.wav"), "RIFF");

    // The user's settings and an upgrade's new files.
    std::ofstream(user / "Skins/Skin.ini") << "[Screen]\nIntervalTime=9\n";
    fs::remove(user / "SOUND.wav");
    std::ofstream(dir / "share/sentinax/Skins/Skin4120.ini") << "[Screen]\n";
    std::ofstream(dir / "share/sentinax/Skins/Skin.ini") << "[Screen]\nIntervalTime=5\n";
    choice = Choose(nullptr);
    EXPECT_EQ(choice.Folder, user.string());
    EXPECT_EQ(Read(user / "Skins/Skin.ini"), "[Screen]\nIntervalTime=9\n");
    EXPECT_TRUE(fs::exists(user / "Skins/Skin4120.ini"));
    EXPECT_EQ(Read(user / "SOUND.wav"), "RIFF");
    for (const auto& entry : fs::directory_iterator(user / "Skins"))
        EXPECT_EQ(entry.path().filename().string().find(".seed"), std::string::npos);
}

TEST_F(WorkingFolderTest, XdgDataHomeWinsAndAnUnusableOneIsReported) {
    EXPECT_EQ(Choose((dir / "data").c_str()).Folder, (dir / "data/sentinax").string());
    EXPECT_TRUE(fs::exists(dir / "data/sentinax/Skins/SkinBB.ini"));

    std::ofstream(dir / "file") << "not a folder";
    const WorkingFolderChoice choice = Choose((dir / "file").c_str());
    EXPECT_EQ(choice.Folder, (dir / "started").string()); // monitoring goes on
    ASSERT_EQ(choice.Problems.size(), 1u);
    EXPECT_NE(choice.Problems[0].find("cannot create"), std::string::npos);

    EXPECT_EQ(UserDataFolder(nullptr, nullptr), "");
    EXPECT_EQ(UserDataFolder("", "/h"), "/h/.local/share/sentinax");
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

    const std::string entry = AutostartEntry("/opt/my \"tools\"/bin/sentinax4");
    EXPECT_NE(entry.find("Exec=\"/opt/my \\\"tools\\\"/bin/sentinax4\"\n"), std::string::npos);
    EXPECT_EQ(AutostartEntryPath(nullptr, "/home/u"),
              "/home/u/.config/autostart/sentinax4.desktop");
    EXPECT_EQ(AutostartEntryPath("/c", "/home/u"), "/c/autostart/sentinax4.desktop");
}

} // namespace
} // namespace sentinax
