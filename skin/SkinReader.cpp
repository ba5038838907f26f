#include "SkinReader.h"

#include <climits>
#include <cstdint>
#include <filesystem>
#include <system_error>

namespace sentinax {

namespace {

constexpr std::size_t kMaxFontFace = 31;

int SaturatedSum(int a, int b) {
    const int64_t sum = int64_t{a} + b;
    if (sum > INT_MAX)
        return INT_MAX;
    if (sum < INT_MIN)
        return INT_MIN;
    return static_cast<int>(sum);
}

// Reads rows 1..k of a section, k being its key count, calling parse for the
// non-empty ones.
template <typename Info, typename Parse>
std::vector<Info> ReadRows(const CIniFile& ini, const char* section, Parse parse) {
    std::vector<std::string> keys;
    ini.GetKeyNames(section, keys);
    std::vector<Info> rows;
    for (std::size_t n = 1; n <= keys.size(); ++n) {
        std::string row = ini.GetString(section, std::to_string(n), "");
        if (!row.empty())
            rows.push_back(parse(std::move(row), static_cast<int>(n - 1)));
    }
    return rows;
}

} // namespace

std::string SkinDirectory(const std::string& skinPath) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path full = fs::absolute(fs::path(skinPath), error);
    if (error)
        full = fs::path(skinPath);
    std::string dir = full.lexically_normal().parent_path().string();
    while (!dir.empty() && dir.back() == '/')
        dir.pop_back();
    return dir + '/';
}

SkinRect ParseRect(std::string& row) {
    SkinRect rect;
    rect.Left = ParseDecimal(NextField(row));
    rect.Top = ParseDecimal(NextField(row));
    rect.Right = SaturatedSum(rect.Left, ParseDecimal(NextField(row)));
    rect.Bottom = SaturatedSum(rect.Top, ParseDecimal(NextField(row)));
    return rect;
}

bool FlagIs(const std::string& field, char c) {
    return !field.empty() && field.front() == c;
}

uint32_t ParseColour(const std::string& field) {
    return static_cast<uint32_t>(ParseDecimal(field));
}

ButtonInfo ParseButtonRow(std::string row, int index) {
    ButtonInfo info;
    info.Index = index;
    info.Name = NextField(row);
    info.Rect = ParseRect(row);
    info.Tooltip = NextField(row);
    info.StaticFace = FlagIs(NextField(row), 'T');
    return info;
}

TextInfo ParseTextRow(std::string row, int index) {
    TextInfo info;
    info.Index = index;
    info.Name = NextField(row);
    info.FontFace = NextField(row).substr(0, kMaxFontFace);
    info.Bold = FlagIs(NextField(row), 'T');
    info.Italic = FlagIs(NextField(row), 'F');
    info.FontSize = ParseDecimal(NextField(row));
    info.TextColour = ParseColour(NextField(row));
    info.Rect = ParseRect(row);
    info.Text = NextField(row);
    return info;
}

SliderInfo ParseSliderRow(std::string row, int index) {
    SliderInfo info;
    info.Index = index;
    info.Name = NextField(row);
    info.ThumbImage = NextField(row);
    info.ThumbDragImage = NextField(row);
    info.Rect = ParseRect(row);
    info.Horizontal = FlagIs(NextField(row), 'H');
    info.Position = ParseDecimal(NextField(row));
    return info;
}

SkinDescription ReadSkin(const CIniFile& ini) {
    SkinDescription skin;
    ScreenImages& images = skin.Screen;
    images.Main = ini.GetString("Screen", "Main", "");
    images.Mask = ini.GetString("Screen", "Mask", images.Main);
    images.Over = ini.GetString("Screen", "Over", images.Main);
    images.Down = ini.GetString("Screen", "Down", images.Main);
    images.Disabled = ini.GetString("Screen", "Disabled", images.Main);
    skin.Buttons = ReadRows<ButtonInfo>(ini, "BUTTONINFO", ParseButtonRow);
    skin.Texts = ReadRows<TextInfo>(ini, "TEXTINFO", ParseTextRow);
    skin.Sliders = ReadRows<SliderInfo>(ini, "TRACKBARINFO", ParseSliderRow);
    return skin;
}

} // namespace sentinax
