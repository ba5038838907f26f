#include "Settings.h"

#include "FieldText.h"
#include "LimitItem.h"

#include <algorithm>

#include <string>
#include <vector>

namespace sentinax {

namespace {

constexpr const char* kScreenRead = "Screen";
// Written in upper case; names compare without case, so it is the same section.
constexpr const char* kScreenWrite = "SCREEN";
constexpr const char* kAdjusters = "TRACKBARINFO";
constexpr int kPositionField = 9;

} // namespace

void LoadSettings(const CIniFile& ini, AppSettings& settings) {
    settings.IntervalTime = ParseDecimal(ini.GetString(kScreenRead, "IntervalTime", ""));
    settings.Celsius = ParseDecimal(ini.GetString(kScreenRead, "Celsius", ""));
    settings.SoundWarning = ParseDecimal(ini.GetString(kScreenRead, "SoundWarning", ""));

    std::vector<std::string> keys;
    ini.GetKeyNames(kAdjusters, keys);
    const std::size_t rows = std::min<std::size_t>(keys.size(), kLimitCount);
    for (std::size_t n = 1; n <= rows; ++n) {
        std::string row = ini.GetString(kAdjusters, std::to_string(n), "");
        if (row.empty())
            continue; // no adjuster, so no setting
        std::string field;
        for (int i = 0; i < kPositionField; ++i)
            field = NextField(row);
        settings.LimitPosition[n - 1] = ParseDecimal(field);
    }
}

bool SaveSettings(const std::string& skinPath, AppSettings& settings) {
    CIniFile ini(skinPath);
    bool any = false;
    for (std::size_t i = 0; i < kLimitCount; ++i) {
        if (!settings.LimitChanged[i])
            continue;
        const std::string row =
            std::string(kLimitItems[i].BuiltInRow) + std::to_string(settings.LimitPosition[i]);
        ini.SetString(kAdjusters, std::to_string(i + 1), row);
        any = true;
    }
    if (settings.ScreenSettingsChanged) {
        ini.SetString(kScreenWrite, "IntervalTime", std::to_string(settings.IntervalTime));
        ini.SetString(kScreenWrite, "SoundWarning", std::to_string(settings.SoundWarning));
        any = true;
    }
    if (settings.UnitSettingChanged) {
        ini.SetString(kScreenWrite, "Celsius", std::to_string(settings.Celsius));
        any = true;
    }
    if (!any)
        return true;
    if (!ini.Commit())
        return false;
    settings.LimitChanged.fill(false);
    settings.ScreenSettingsChanged = false;
    settings.UnitSettingChanged = false;
    return true;
}

} // namespace sentinax
