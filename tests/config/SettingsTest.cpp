#include "config/Settings.h"
#include "TestFiles.h"
#include "config/LimitItem.h"
#include "tests/support/RecordingReporter.h"

#include <gtest/gtest.h>
#include <string>

namespace sentinax {
namespace {

using testing::Fixture;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

TEST(LoadSettings, ReadsTheHandEditedSkin) {
    AppSettings settings;
    settings.LimitPosition.fill(-7);
    LoadSettings(CIniFile(std::string(SX_CONFIG_FIXTURES) + "/hand_edited.ini"), settings);
    EXPECT_EQ(settings.IntervalTime, 12) << "first key wins, leading digits";
    EXPECT_EQ(settings.Celsius, 0) << "-0x1 has the digits 0";
    EXPECT_EQ(settings.SoundWarning, 0) << "only in a repeated section";
    // Four keys: rows 1 to 4 are read; row 2 is empty, row 4 missing.
    EXPECT_EQ(settings.LimitPosition[0], 250) << "out of range, kept as stored";
    EXPECT_EQ(settings.LimitPosition[1], -7);
    EXPECT_EQ(settings.LimitPosition[2], 40);
    EXPECT_EQ(settings.LimitPosition[3], -7);
    EXPECT_EQ(settings.LimitPosition[17], -7);
}

TEST(LoadSettings, MissingFileGivesZerosAndCrLfFileReads) {
    AppSettings settings;
    settings.IntervalTime = 9;
    LoadSettings(CIniFile("/nonexistent/Skins/Skin.ini"), settings);
    EXPECT_EQ(settings.IntervalTime, 0);
    EXPECT_EQ(settings.Celsius, 0);
    EXPECT_EQ(settings.SoundWarning, 0);

    LoadSettings(CIniFile(std::string(SX_CONFIG_FIXTURES) + "/crlf.ini"), settings);
    EXPECT_EQ(settings.IntervalTime, 7);
    EXPECT_EQ(settings.Celsius, 1);
    EXPECT_EQ(settings.LimitPosition[0], 90) << "ninth field; the tenth is not used";
    EXPECT_EQ(settings.LimitPosition[1], 15);
}

class SaveSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        original_ = Fixture("crlf.ini");
        WriteBytes(path_, original_);
        LoadSettings(CIniFile(path_), settings_);
    }
    TempDir dir_;
    std::string path_ = dir_.File("Skin.ini");
    std::string original_;
    AppSettings settings_;
};

TEST_F(SaveSettingsTest, NothingChangedWritesNothing) {
    EXPECT_TRUE(SaveSettings(path_, settings_));
    EXPECT_EQ(ReadBytes(path_), original_);
}

TEST_F(SaveSettingsTest, WritesOnlyTheChangedRowsAndKeys) {
    settings_.LimitPosition[1] = 15; // moved and moved back: still rewritten
    settings_.LimitChanged[1] = true;
    settings_.LimitPosition[17] = 64;
    settings_.LimitChanged[17] = true;
    settings_.Celsius = 0;
    settings_.UnitSettingChanged = true;
    ASSERT_TRUE(SaveSettings(path_, settings_));

    std::string expected = original_;
    const auto replace = [&](const std::string& from, const std::string& to) {
        const std::size_t at = expected.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        expected.replace(at, from.size(), to);
    };
    replace("2=CPU_TEMP_LOWER_LIMIT,Thumb.png,ThumbSel.png,10,40,55,18,H,15\r\n",
            "2=CPU_TEMP_LOWER_LIMIT,Normal.jpg,Sel.jpg,160,40,55,18,H,15\r\n"
            "18=V12_LOWER_LIMIT,Normal.jpg,Sel.jpg,430,170,55,18,H,64\r\n");
    replace("Celsius=1\r\n", "Celsius=0\r\n");
    EXPECT_EQ(ReadBytes(path_), expected) << "row 1 stays as the skin author wrote it";

    EXPECT_FALSE(settings_.UnitSettingChanged);
    EXPECT_FALSE(settings_.LimitChanged[1]);
    WriteBytes(path_, original_);
    ASSERT_TRUE(SaveSettings(path_, settings_));
    EXPECT_EQ(ReadBytes(path_), original_) << "a second save writes nothing";
}

TEST_F(SaveSettingsTest, ScreenSettingsGoToTheSameSectionInOrder) {
    settings_.ScreenSettingsChanged = true; // confirmed without changes: both written
    settings_.SoundWarning = -1;
    ASSERT_TRUE(SaveSettings(path_, settings_));
    std::string expected = original_;
    expected.replace(expected.find("  intervaltime =  7  \r\n"), 23, "  intervaltime =  7\r\n");
    expected.replace(expected.find("Celsius=1\r\n"), 11, "Celsius=1\r\nSoundWarning=-1\r\n");
    EXPECT_EQ(ReadBytes(path_), expected);
    AppSettings reread;
    LoadSettings(CIniFile(path_), reread);
    EXPECT_EQ(reread.IntervalTime, 7);
    EXPECT_EQ(reread.SoundWarning, -1);
}

TEST_F(SaveSettingsTest, FailureKeepsTheFlagsForAnotherTry) {
    const std::string missing = dir_.File("gone/Skin.ini");
    settings_.UnitSettingChanged = true;
    settings_.LimitChanged[4] = true;
    // The clean-up may try more than once: one cause is said once, with it.
    {
        const RecordingReporter heard;
        EXPECT_FALSE(SaveSettings(missing, settings_));
        EXPECT_FALSE(SaveSettings(missing, settings_));
        EXPECT_EQ(heard.Text(), "cannot save settings to " + missing + ": " + dir_.File("gone") +
                                    ": No such file or directory\n");
    }
    EXPECT_TRUE(settings_.UnitSettingChanged);
    EXPECT_TRUE(settings_.LimitChanged[4]);
    ASSERT_TRUE(SaveSettings(path_, settings_));
    AppSettings reread;
    LoadSettings(CIniFile(path_), reread);
    EXPECT_EQ(reread.Celsius, settings_.Celsius);
}

// A skin file that did not exist when the run began is made at exit from the
// text the run used, with what the user changed in it, even when nothing
// changed; one that appeared meanwhile is updated as any other; a refused
// file stays refused.
TEST_F(SaveSettingsTest, AMissingFileIsCreatedFromTheRunsSettings) {
    const std::string shipped = "[Screen]\r\nMain=Main.png\r\nIntervalTime=3\r\nCelsius=1\r\n"
                                "[TRACKBARINFO]\r\n"
                                "1=CPU_TEMP_UPPER_LIMIT,Normal.jpg,Sel.jpg,215,40,55,18,H,50\r\n";
    const std::string missing = dir_.File("Created.ini");
    settings_.MissingFileText = shipped;
    settings_.LimitPosition[0] = 70;
    settings_.LimitChanged[0] = true;
    ASSERT_TRUE(SaveSettings(missing, settings_));
    std::string expected = shipped;
    expected.replace(expected.find(",H,50"), 5, ",H,70");
    EXPECT_EQ(ReadBytes(missing), expected);
    EXPECT_TRUE(settings_.MissingFileText.empty()) << "the file exists now";
    EXPECT_FALSE(settings_.LimitChanged[0]);

    // Nothing changed: the file is still made, so the next run has its own.
    const std::string untouched = dir_.File("Untouched.ini");
    settings_.MissingFileText = shipped;
    ASSERT_TRUE(SaveSettings(untouched, settings_));
    EXPECT_EQ(ReadBytes(untouched), shipped);

    // A file that appeared during the run is updated, not replaced.
    settings_.MissingFileText = shipped;
    settings_.Celsius = 0;
    settings_.UnitSettingChanged = true;
    ASSERT_TRUE(SaveSettings(path_, settings_));
    EXPECT_NE(ReadBytes(path_).find("ThumbSel.png"), std::string::npos) << "its own rows stay";
    EXPECT_EQ(ReadBytes(path_).find("Main=Main.png"), std::string::npos);

    // A folder that does not exist: the failure keeps the text for another try.
    settings_.MissingFileText = shipped;
    EXPECT_FALSE(SaveSettings(dir_.File("gone/Skin.ini"), settings_));
    EXPECT_EQ(settings_.MissingFileText, shipped);
}

} // namespace
} // namespace sentinax
