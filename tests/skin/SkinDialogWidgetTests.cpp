#include "config/AppSettings.h"
#include "config/CIniFile.h"
#include "config/LimitConversion.h"
#include "config/Settings.h"
#include "skin/CSkinDialog.h"
#include "skin/CSkinText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace sentinax {
namespace {

const std::string kGrammar = std::string(SX_SKIN_FIXTURES) + "/grammar.ini";

TEST(CSkinDialog, LoadingTheSkinReadsSettingsAndRows) {
    AppSettings settings;
    CSkinDialog dialog;
    dialog.SetSettings(&settings);
    dialog.SetSkinPath(kGrammar);
    ASSERT_TRUE(dialog.OnInitDialog());
    EXPECT_EQ(dialog.Skin().Buttons.size(), 2u);
    EXPECT_EQ(dialog.Skin().Texts.size(), 2u);
    EXPECT_EQ(settings.LimitPosition[0], 90);
    EXPECT_EQ(settings.LimitPosition[1], 150) << "the setting keeps the stored number";
    EXPECT_EQ(dialog.GetSliderPosition("CPU_TEMP_LOWER_LIMIT"), 100) << "the control clamps";
    EXPECT_EQ(dialog.GetSliderPosition("NO_SUCH_ADJUSTER"), 0);
}

// A skin file whose settings cannot be read gives the shipped settings (not
// zeros: alarm off, limits at their lowest), one message, the hint, and a file
// left exactly as it was (an empty file included: it exists).
TEST(CSkinDialog, UnreadableSkinFilesGiveTheShippedSettings) {
    namespace fs = std::filesystem;
    char pattern[] = "/tmp/sx-badskin-XXXXXX";
    const fs::path dir = ::mkdtemp(pattern);
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> make;
    };
    const std::string utf16 = [] {
        std::string text = "\xff\xfe";
        for (char c : std::string("[Screen]\r\nIntervalTime=3\r\n")) {
            text += c;
            text += '\0';
        }
        return text;
    }();
    const Case cases[] = {
        {"empty", [](const fs::path& p) { std::ofstream{p}; }},
        {"folder", [](const fs::path& p) { fs::create_directory(p); }},
        {"binary",
         [](const fs::path& p) {
             std::ofstream(p) << std::string("\x89PNG\r\n\x1a\n\0\0\x7f", 11);
         }},
        {"utf16", [&](const fs::path& p) { std::ofstream(p, std::ios::binary) << utf16; }},
        {"huge",
         [](const fs::path& p) {
             std::ofstream(p) << "[Screen]\nIntervalTime=9\n";
             fs::resize_file(p, CIniFile::kMaxFileBytes + 1);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path skin = dir / c.name / "Skin.ini";
        fs::create_directories(skin.parent_path());
        c.make(skin);
        const auto before = fs::exists(skin) && fs::is_regular_file(skin) ? fs::file_size(skin) : 0;
        AppSettings settings;
        std::vector<std::string> reports;
        CSkinDialog dialog;
        dialog.SetReporter([&](const std::string& m) { reports.push_back(m); });
        dialog.SetSettings(&settings);
        dialog.SetSkinPath(skin.string());
        ASSERT_TRUE(dialog.OnInitDialog());
        EXPECT_EQ(settings.IntervalTime, 3);
        EXPECT_EQ(settings.Celsius, 1);
        EXPECT_EQ(settings.SoundWarning, 1);
        EXPECT_EQ(settings.LimitPosition[0], 102); // CPU temperature upper limit, 101 °C
        EXPECT_EQ(settings.LimitPosition[5], 16);  // CPU fan lower limit
        EXPECT_EQ(dialog.Skin().Sliders.size(), 18u);
        const auto said = std::count_if(reports.begin(), reports.end(), [&](const std::string& m) {
            return m.find(skin.string() + ": ") == 0 &&
                   m.find("shipped settings") != std::string::npos;
        });
        EXPECT_EQ(said, 1);
        bool hinted = false;
        for (const CSkinText* text : dialog.Texts())
            hinted = hinted || text->Text() == kUnreadableSettingsHint;
        EXPECT_TRUE(hinted);

        // A limit moved by the user is not saved over the file.
        settings.LimitChanged[0] = true;
        settings.LimitPosition[0] = 70;
        EXPECT_FALSE(SaveSettings(skin.string(), settings));
        EXPECT_TRUE(fs::exists(skin));
        if (fs::is_regular_file(skin)) {
            EXPECT_EQ(fs::file_size(skin), before);
        }
    }
    fs::remove_all(dir);
}

// A skin file that does not exist runs on the shipped settings too, but is
// made at exit with them and what the user changed.
TEST(CSkinDialog, AMissingSkinFileIsMadeAtExitWithTheRunsSettings) {
    namespace fs = std::filesystem;
    char pattern[] = "/tmp/sx-noskin-XXXXXX";
    const fs::path dir = ::mkdtemp(pattern);
    const fs::path skin = dir / "Skin.ini";
    AppSettings settings;
    std::vector<std::string> reports;
    CSkinDialog dialog;
    dialog.SetReporter([&](const std::string& m) { reports.push_back(m); });
    dialog.SetSettings(&settings);
    dialog.SetSkinPath(skin.string());
    ASSERT_TRUE(dialog.OnInitDialog());
    EXPECT_EQ(settings.IntervalTime, 3);
    EXPECT_TRUE(settings.SaveRefused.empty());
    // (The pictures beside it are missing too, and said so.)
    const auto said = std::count_if(reports.begin(), reports.end(), [](const std::string& m) {
        return m.find("created with them at exit") != std::string::npos;
    });
    EXPECT_EQ(said, 1);
    bool hinted = false;
    for (const CSkinText* text : dialog.Texts())
        hinted = hinted || text->Text() == kMissingSkinHint;
    EXPECT_TRUE(hinted);

    settings.LimitChanged[5] = true;
    settings.LimitPosition[5] = 30;
    ASSERT_TRUE(SaveSettings(skin.string(), settings));
    AppSettings reread;
    LoadSettings(CIniFile(skin.string()), reread);
    EXPECT_EQ(reread.LimitPosition[5], 30) << "the dragged limit";
    EXPECT_EQ(reread.LimitPosition[0], settings.LimitPosition[0]) << "the shipped ones beside it";
    EXPECT_EQ(reread.IntervalTime, 3);
    fs::remove_all(dir);
}

TEST(CSkinDialog, AnIntervalBeyondReasonIsHeldAndSaid) {
    namespace fs = std::filesystem;
    char pattern[] = "/tmp/sx-interval-XXXXXX";
    const fs::path dir = ::mkdtemp(pattern);
    for (const auto& [stored, used] : {std::pair<const char*, int>{"99999999999", 3600},
                                       {"0", 1},
                                       {"-5", 1},
                                       {"abc", 1},
                                       {"30", 30}}) {
        std::ofstream(dir / "Skin.ini") << "[Screen]\nIntervalTime=" << stored << "\nCelsius=1\n";
        AppSettings settings;
        std::vector<std::string> reports;
        CSkinDialog dialog;
        dialog.SetReporter([&](const std::string& m) { reports.push_back(m); });
        dialog.SetSettings(&settings);
        dialog.SetSkinPath((dir / "Skin.ini").string());
        dialog.OnInitDialog();
        EXPECT_EQ(settings.IntervalTime, used) << stored;
        // The message quotes what the file holds ("abc"), not the number it reads as.
        const bool said = std::any_of(reports.begin(), reports.end(), [&](const std::string& m) {
            return m.find("IntervalTime=" + std::string(stored) + " is not an interval") !=
                   std::string::npos;
        });
        EXPECT_EQ(said, used != 30) << stored;
        EXPECT_TRUE(settings.SaveRefused.empty()) << "the file itself was readable";
    }
    fs::remove_all(dir);
}

TEST(CSkinDialog, OverridesMoveTheNamedAdjusterThroughTheDialog) {
    AppSettings settings;
    CSkinDialog dialog;
    dialog.SetSettings(&settings);
    dialog.SetSkinPath(kGrammar);
    dialog.OnInitDialog();
    BoardProfile board;
    board.CpuTempLimitOverride = LimitOverride{80, 90};
    const Thresholds limits = ConvertLimits(settings, board, dialog);
    EXPECT_EQ(limits.cpuTempUpper, 90);
    EXPECT_EQ(dialog.GetSliderPosition("CPU_TEMP_UPPER_LIMIT"), 80);
    EXPECT_EQ(settings.LimitPosition[0], 90) << "the stored position is not touched";
    dialog.SetSliderPosition("CPU_TEMP_UPPER_LIMIT", -4);
    EXPECT_EQ(dialog.GetSliderPosition("CPU_TEMP_UPPER_LIMIT"), 0);
    dialog.SetSliderPosition("cpu_temp_upper_limit", 50);
    EXPECT_EQ(dialog.GetSliderPosition("CPU_TEMP_UPPER_LIMIT"), 0) << "names are case-sensitive";
}

} // namespace
} // namespace sentinax
