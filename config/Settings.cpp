#include "Settings.h"

#include "FieldText.h"
#include "LimitItem.h"

#include <algorithm>
#include <iostream>

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
    if (!settings.SaveRefused.empty()) {
        const bool changed = settings.ScreenSettingsChanged || settings.UnitSettingChanged ||
                             std::find(settings.LimitChanged.begin(), settings.LimitChanged.end(),
                                       true) != settings.LimitChanged.end();
        if (changed)
            std::cerr << "Sentinax: settings not saved to " << skinPath << ": "
                      << settings.SaveRefused << '\n';
        return !changed;
    }
    CIniFile ini(skinPath);
    const bool create = !settings.MissingFileText.empty();
    if (create)
        ini.CreateMissingFrom(settings.MissingFileText);
    bool any = create;
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
    settings.MissingFileText.clear();
    return true;
}

std::string UnusableSettingsReason(const CIniFile& ini) {
    switch (ini.State()) {
    case CIniFile::ReadState::Missing:
        return "there is no such file";
    case CIniFile::ReadState::Unreadable:
        return ini.Problem();
    case CIniFile::ReadState::Read:
        break;
    }
    for (const char* key : {"IntervalTime", "Celsius", "SoundWarning"}) {
        if (ini.GetString(kScreenRead, key, "\x01") != "\x01")
            return {};
    }
    std::vector<std::string> keys;
    if (ini.GetKeyNames(kAdjusters, keys))
        return {};
    return "it holds no settings (no IntervalTime, Celsius or SoundWarning, no adjuster row)";
}

std::string ClampInterval(AppSettings& settings) {
    const int stored = settings.IntervalTime;
    settings.IntervalTime = std::clamp(stored, kMinIntervalSeconds, kMaxIntervalSetting);
    if (settings.IntervalTime == stored)
        return {};
    return "IntervalTime=" + std::to_string(stored) + " is not an interval of " +
           std::to_string(kMinIntervalSeconds) + " to " + std::to_string(kMaxIntervalSetting) +
           " seconds; " + std::to_string(settings.IntervalTime) + " is used";
}

} // namespace sentinax
