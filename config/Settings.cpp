#include "Settings.h"

#include "FieldText.h"
#include "LimitItem.h"

#include "hardware/Reporter.h"

#include <algorithm>
#include <sstream>
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

bool QueueChangedSettings(CIniFile& ini, const AppSettings& settings) {
    bool any = false;
    for (std::size_t i = 0; i < kLimitCount; ++i) {
        if (!settings.LimitChanged[i])
            continue;
        ini.SetString(kAdjusters, std::to_string(i + 1), ChangedAdjusterRow(settings, i));
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
    return any;
}

std::string ChangedAdjusterRow(const AppSettings& settings, std::size_t item) {
    return std::string(kLimitItems[item].BuiltInRow) + std::to_string(settings.LimitPosition[item]);
}

namespace {

// Reports a save's problems unless they were said last time.
void SayOnce(AppSettings& settings, const std::string& problems) {
    if (problems.empty() || problems == settings.SaveProblemSaid)
        return;
    ReportedLines() << problems << std::flush;
    settings.SaveProblemSaid = problems;
}

} // namespace

bool SaveSettings(const std::string& skinPath, AppSettings& settings) {
    if (!settings.SaveRefused.empty()) {
        const bool changed = settings.ScreenSettingsChanged || settings.UnitSettingChanged ||
                             std::find(settings.LimitChanged.begin(), settings.LimitChanged.end(),
                                       true) != settings.LimitChanged.end();
        if (changed)
            SayOnce(settings,
                    "settings not saved to " + skinPath + ": " + settings.SaveRefused + "\n");
        return !changed;
    }
    std::ostringstream problems;
    CIniFile ini(skinPath, problems);
    const bool create = !settings.MissingFileText.empty();
    if (create)
        ini.CreateMissingFrom(settings.MissingFileText);
    const bool any = QueueChangedSettings(ini, settings) || create;
    const bool saved = !any || ini.Commit();
    SayOnce(settings, problems.str());
    if (!any)
        return true;
    if (!saved)
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

std::string ClampInterval(AppSettings& settings, std::string_view storedText) {
    const int stored = settings.IntervalTime;
    settings.IntervalTime = std::clamp(stored, kMinIntervalSeconds, kMaxIntervalSetting);
    if (settings.IntervalTime == stored)
        return {};
    const std::string used = std::to_string(settings.IntervalTime) + " is used";
    if (TrimBlanks(storedText).empty())
        return "no IntervalTime is set; " + used;
    return "IntervalTime=" + std::string(storedText) + " is not an interval of " +
           std::to_string(kMinIntervalSeconds) + " to " + std::to_string(kMaxIntervalSetting) +
           " seconds; " + used;
}

} // namespace sentinax
