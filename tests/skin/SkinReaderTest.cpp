#include "skin/SkinReader.h"

#include "config/LimitItem.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace sentinax {
namespace {

const std::string kGrammar = std::string(SX_SKIN_FIXTURES) + "/grammar.ini";

TEST(SkinReader, ScreenImagesDefaultToMain) {
    const SkinDescription skin = ReadSkin(CIniFile(kGrammar));
    EXPECT_EQ(skin.Screen.Main, "Face.jpg");
    EXPECT_EQ(skin.Screen.Mask, "Face.jpg");
    EXPECT_EQ(skin.Screen.Over, "Lit.jpg");
    EXPECT_EQ(skin.Screen.Disabled, "Face.jpg");
}

TEST(SkinReader, ButtonRowsAreReadByCountNotByKey) {
    const SkinDescription skin = ReadSkin(CIniFile(kGrammar));
    // Keys 1, 2 and 5: three keys, so rows 1 to 3; row 3 is missing.
    ASSERT_EQ(skin.Buttons.size(), 2u);
    const ButtonInfo& exit = skin.Buttons[0];
    EXPECT_EQ(exit.Index, 0);
    EXPECT_EQ(exit.Name, "BUTTON_EXIT");
    EXPECT_EQ(exit.Rect, (SkinRect{526, 8, 548, 28}));
    EXPECT_EQ(exit.Tooltip, "Exit");
    EXPECT_FALSE(exit.StaticFace);
    const ButtonInfo& help = skin.Buttons[1];
    EXPECT_EQ(help.Rect, (SkinRect{478, 8, 500, 28})) << "blanks after commas change nothing";
    EXPECT_EQ(help.Tooltip, "About");
    EXPECT_TRUE(help.StaticFace);
}

TEST(SkinReader, TextRowsReadFontFlagsAndColour) {
    const SkinDescription skin = ReadSkin(CIniFile(kGrammar));
    ASSERT_EQ(skin.Texts.size(), 2u);
    const TextInfo& hint = skin.Texts[0];
    EXPECT_EQ(hint.Name, "TEXT_HINT ") << "a blank before the comma stays in the name";
    EXPECT_EQ(hint.FontFace, "DejaVu Sans");
    EXPECT_TRUE(hint.Bold);
    EXPECT_TRUE(hint.Italic);
    EXPECT_EQ(hint.FontSize, 13);
    EXPECT_EQ(hint.TextColour & 0xFF, 200u) << "red in the low byte";
    EXPECT_EQ((hint.TextColour >> 8) & 0xFF, 230u);
    EXPECT_EQ((hint.TextColour >> 16) & 0xFF, 255u);
    EXPECT_EQ(hint.Rect, (SkinRect{20, 407, 540, 425}));
    EXPECT_EQ(hint.Text, "Hello");
    const TextInfo& low = skin.Texts[1];
    EXPECT_EQ(low.FontFace, "A Font Face Name Longer Than Th");
    EXPECT_FALSE(low.Bold) << "flags are case-sensitive";
    EXPECT_FALSE(low.Italic);
    EXPECT_EQ(low.FontSize, -12);
    EXPECT_EQ(low.TextColour, 0xFFFFFFFFu);
    EXPECT_EQ(low.Text, "4") << "a missing field repeats the last one";
}

TEST(SkinReader, AdjusterRows) {
    const SkinDescription skin = ReadSkin(CIniFile(kGrammar));
    // Row 3 is empty: no adjuster, and row 4 keeps its own index.
    ASSERT_EQ(skin.Sliders.size(), 3u);
    EXPECT_EQ(skin.Sliders[0].Name, "CPU_TEMP_UPPER_LIMIT");
    EXPECT_EQ(skin.Sliders[0].ThumbImage, "Normal.jpg");
    EXPECT_EQ(skin.Sliders[0].ThumbDragImage, "Sel.jpg");
    EXPECT_EQ(skin.Sliders[0].Rect, (SkinRect{215, 40, 270, 58}));
    EXPECT_TRUE(skin.Sliders[0].Horizontal);
    EXPECT_EQ(skin.Sliders[0].Position, 90);
    EXPECT_FALSE(skin.Sliders[1].Horizontal) << "lower-case h is vertical";
    EXPECT_EQ(skin.Sliders[1].Position, 150);
    const SliderInfo& shortRow = skin.Sliders[2];
    EXPECT_EQ(shortRow.Index, 3);
    EXPECT_EQ(shortRow.ThumbDragImage, "Thumb.png");
    EXPECT_EQ(shortRow.Position, 0);
}

TEST(SkinReader, ButtonWithoutTooltipAndFlagRepeatsTheHeight) {
    const ButtonInfo b = ParseButtonRow("BUTTON_X,1,2,3,Tall", 0);
    EXPECT_EQ(b.Tooltip, "Tall");
    EXPECT_TRUE(b.StaticFace) << "the repeated field begins with T";
    const ButtonInfo c = ParseButtonRow("B,1,2,3,4", 0);
    EXPECT_EQ(c.Rect, (SkinRect{1, 2, 4, 6}));
    EXPECT_FALSE(c.StaticFace);
}

TEST(SkinReader, LongRowsAndHugeNumbersAreSafe) {
    const std::string name(4000, 'N');
    const SliderInfo s = ParseSliderRow(name + ",a,b,2147483647,-2147483648,2147483647,-5,H,77", 0);
    EXPECT_EQ(s.Name, name);
    EXPECT_EQ(s.Rect, (SkinRect{2147483647, -2147483647 - 1, 2147483647, -2147483647 - 1}));
    EXPECT_EQ(s.Position, 77);
}

TEST(SkinDirectory, AbsoluteFolderWithOneSlash) {
    char cwd[4096];
    ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
    const std::string here = cwd;
    const struct {
        std::string path;
        std::string expected;
    } cases[] = {
        {"Skins/Skin.ini", here + "/Skins/"},
        {"Skin.ini", here + "/"},
        {"./Skins//../Skins/Skin.ini", here + "/Skins/"},
        {"/opt/sx/Skins/Skin.ini", "/opt/sx/Skins/"},
        {"/Skin.ini", "/"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SkinDirectory(c.path), c.expected) << c.path;
}

// The shipped skins must give the window everything it addresses by name.
TEST(ShippedSkins, ProvideTheButtonsHintFieldAndAdjusters) {
    const char* buttons[] = {"BUTTON_EXIT",     "BUTTON_FROSTLINE", "BUTTON_Korvane", "BUTTON_MENU",
                             "BUTTON_MINIMIZE", "BUTTON_HELP",      "BUTTON_TEMP"};
    const struct {
        const char* file;
        bool thirdFan;
    } skins[] = {{"Skin.ini", true}, {"SkinBB.ini", false}, {"Skin4120.ini", false}};
    for (const auto& s : skins) {
        const CIniFile ini(std::string(SX_SHIPPED_SKINS) + "/" + s.file);
        const SkinDescription skin = ReadSkin(ini);
        EXPECT_FALSE(skin.Screen.Main.empty()) << s.file;
        for (const char* name : buttons)
            EXPECT_TRUE(std::any_of(skin.Buttons.begin(), skin.Buttons.end(),
                                    [&](const ButtonInfo& b) { return b.Name == name; }))
                << s.file << " lacks " << name;
        EXPECT_TRUE(std::any_of(skin.Texts.begin(), skin.Texts.end(), [](const TextInfo& t) {
            return t.Name == "TEXT_HINT";
        })) << s.file;
        // Each adjuster sits under the key of its item, with the built-in
        // geometry, so that saving a moved adjuster does not move it.
        EXPECT_EQ(skin.Sliders.size(), s.thirdFan ? 18u : 16u) << s.file;
        for (const SliderInfo& slider : skin.Sliders) {
            ASSERT_GE(FindLimitItem(slider.Name), 0) << slider.Name;
            EXPECT_EQ(FindLimitItem(slider.Name), slider.Index) << s.file << ' ' << slider.Name;
            std::string builtIn(kLimitItems[static_cast<std::size_t>(slider.Index)].BuiltInRow);
            EXPECT_EQ(ini.GetString("TRACKBARINFO", std::to_string(slider.Index + 1), "")
                          .substr(0, builtIn.size()),
                      builtIn);
            EXPECT_GE(slider.Position, 0);
            // The CPU's upper limit lies past the adjuster's end: 102 is 101 °C,
            // so that a healthy CPU at 100 °C (its rated maximum) raises no alarm.
            if (slider.Name == "CPU_TEMP_UPPER_LIMIT") {
                EXPECT_EQ(slider.Position, 102) << s.file;
            } else {
                EXPECT_LE(slider.Position, 100) << s.file << ' ' << slider.Name;
            }
        }
        EXPECT_EQ(ini.GetString("Screen", "Celsius", ""), "1");
        EXPECT_EQ(ini.GetString("Screen", "SoundWarning", ""), "1");
        EXPECT_EQ(ini.GetString("Screen", "IntervalTime", ""), "3");
    }
}

} // namespace
} // namespace sentinax
