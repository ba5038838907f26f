#include "ScratchFolder.h"
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

// The dialog opened on a skin file, with the messages it gave the user.
struct OpenedSkin {
    explicit OpenedSkin(const std::string& path) {
        dialog.SetReporter([this](const std::string& m) { reports.push_back(m); });
        dialog.SetSettings(&settings);
        dialog.SetSkinPath(path);
        opened = dialog.OnInitDialog();
    }
    // How many messages hold part (and begin with start).
    long Said(const std::string& part, const std::string& start = "") const {
        return std::count_if(reports.begin(), reports.end(), [&](const std::string& m) {
            return m.compare(0, start.size(), start) == 0 && m.find(part) != std::string::npos;
        });
    }
    bool Hints(const char* hint) const {
        const auto& texts = dialog.Texts();
        return std::any_of(texts.begin(), texts.end(), [&](const CSkinText* text) {
            return text->Text() == QString::fromUtf8(hint);
        });
    }

    AppSettings settings;
    std::vector<std::string> reports;
    CSkinDialog dialog;
    bool opened = false;
};

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
    const test::ScratchFolder scratch("sx-badskin");
    const fs::path& dir = scratch.Path();
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
        OpenedSkin run(skin.string());
        ASSERT_TRUE(run.opened);
        AppSettings& settings = run.settings;
        EXPECT_EQ(settings.IntervalTime, 3);
        EXPECT_EQ(settings.Celsius, 1);
        EXPECT_EQ(settings.SoundWarning, 1);
        EXPECT_EQ(settings.LimitPosition[0], 102); // CPU temperature upper limit, 101 °C
        EXPECT_EQ(settings.LimitPosition[5], 16);  // CPU fan lower limit
        EXPECT_EQ(run.dialog.Skin().Sliders.size(), 18u);
        EXPECT_EQ(run.Said("shipped settings", skin.string() + ": "), 1);
        EXPECT_TRUE(run.Hints(kUnreadableSettingsHint));

        // A limit moved by the user is not saved over the file.
        settings.LimitChanged[0] = true;
        settings.LimitPosition[0] = 70;
        EXPECT_FALSE(SaveSettings(skin.string(), settings));
        EXPECT_TRUE(fs::exists(skin));
        if (fs::is_regular_file(skin)) {
            EXPECT_EQ(fs::file_size(skin), before);
        }
    }
}

// A skin file that does not exist runs on the shipped settings too, but is
// made at exit with them and what the user changed.
TEST(CSkinDialog, AMissingSkinFileIsMadeAtExitWithTheRunsSettings) {
    namespace fs = std::filesystem;
    const test::ScratchFolder scratch("sx-noskin");
    const fs::path skin = scratch.Path() / "Skin.ini";
    OpenedSkin run(skin.string());
    ASSERT_TRUE(run.opened);
    AppSettings& settings = run.settings;
    EXPECT_EQ(settings.IntervalTime, 3);
    EXPECT_TRUE(settings.SaveRefused.empty());
    // (The pictures beside it are missing too, and said so.)
    EXPECT_EQ(run.Said("created with them at exit"), 1);
    EXPECT_TRUE(run.Hints(kMissingSkinHint));

    settings.LimitChanged[5] = true;
    settings.LimitPosition[5] = 30;
    ASSERT_TRUE(SaveSettings(skin.string(), settings));
    AppSettings reread;
    LoadSettings(CIniFile(skin.string()), reread);
    EXPECT_EQ(reread.LimitPosition[5], 30) << "the dragged limit";
    EXPECT_EQ(reread.LimitPosition[0], settings.LimitPosition[0]) << "the shipped ones beside it";
    EXPECT_EQ(reread.IntervalTime, 3);
}

TEST(CSkinDialog, AnIntervalBeyondReasonIsHeldAndSaid) {
    namespace fs = std::filesystem;
    const test::ScratchFolder scratch("sx-interval");
    const fs::path& dir = scratch.Path();
    for (const auto& [stored, used] : {std::pair<const char*, int>{"99999999999", 3600},
                                       {"0", 1},
                                       {"-5", 1},
                                       {"abc", 1},
                                       {"30", 30}}) {
        std::ofstream(dir / "Skin.ini") << "[Screen]\nIntervalTime=" << stored << "\nCelsius=1\n";
        const OpenedSkin run((dir / "Skin.ini").string());
        EXPECT_EQ(run.settings.IntervalTime, used) << stored;
        // The message quotes what the file holds ("abc"), not the number it reads as.
        const bool said =
            run.Said("IntervalTime=" + std::string(stored) + " is not an interval") > 0;
        EXPECT_EQ(said, used != 30) << stored;
        EXPECT_TRUE(run.settings.SaveRefused.empty()) << "the file itself was readable";
    }
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
