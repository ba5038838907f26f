#include "config/AppSettings.h"
#include "config/LimitConversion.h"
#include "skin/CSkinDialog.h"

#include <gtest/gtest.h>
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

TEST(CSkinDialog, MissingSkinLeavesEverythingAtZero) {
    AppSettings settings;
    CSkinDialog dialog;
    dialog.SetSettings(&settings);
    dialog.SetSkinPath("/nonexistent/Skin.ini");
    ASSERT_TRUE(dialog.OnInitDialog());
    EXPECT_TRUE(dialog.Skin().Sliders.empty());
    EXPECT_EQ(settings.Celsius, 0);
    EXPECT_EQ(settings.IntervalTime, 0);
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
