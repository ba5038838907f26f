#include "HeadlessView.h"

#include "alerts/power/ScheduledPowerOff.h"
#include "config/CIniFile.h"
#include "config/Settings.h"
#include "config/ShippedSkins.h"

#include <optional>
#include <sstream>

namespace sentinax {

HeadlessView::HeadlessView(AppSettings& settings, std::string settingsFile, Reporter& report,
                           ScheduledPowerOff& powerOff, std::function<void(int)> quit)
    : settings_(settings), settingsFile_(std::move(settingsFile)), report_(report),
      powerOff_(powerOff), quit_(std::move(quit)) {}

void HeadlessView::LoadSkin(const std::string& path) {
    std::ostringstream problems;
    std::optional<CIniFile> file;
    std::string source = settingsFile_;
    if (!settingsFile_.empty()) {
        file.emplace(settingsFile_, problems);
        if (const std::string why = UnusableSettingsReason(*file); !why.empty()) {
            if (file->State() != CIniFile::ReadState::Missing)
                report_.Report(MessagePriority::Warning,
                               settingsFile_ + ": " + why + "; the shipped settings are used");
            file.reset();
        }
    }
    if (!file) {
        const std::string name = path.substr(path.rfind('/') + 1);
        const std::string_view text = ShippedSkinText(name).value_or(
            ShippedSkinText("Skin.ini").value_or(std::string_view()));
        source = "the shipped " + name;
        file.emplace(CIniFile::InMemory(path, text, problems));
    }
    LoadSettings(*file, settings_);
    if (const std::string clamped =
            ClampInterval(settings_, file->GetString("Screen", "IntervalTime", ""));
        !clamped.empty())
        report_.Report(MessagePriority::Warning, source + ": " + clamped);
    std::istringstream said(problems.str());
    for (std::string line; std::getline(said, line);)
        report_.Report(MessagePriority::Warning, line);
    // The file is the administrator's: a run without a display changes nothing
    // in it and never writes a settings file of its own.
    settings_.SaveRefused = "a run without a display never writes its settings";
    report_.Report(MessagePriority::Info, "settings from " + source + ", interval " +
                                              std::to_string(settings_.IntervalTime) + " s");
}

void HeadlessView::ShowMessage(const std::string& text) {
    report_.Report(MessagePriority::Error, text);
}

bool HeadlessView::RunOverTemperatureDialog() {
    return powerOff_.Run();
}

void HeadlessView::EndOverTemperatureDialog() {
    powerOff_.Cancel();
}

bool HeadlessView::RunChassisDialog() {
    report_.Report(MessagePriority::Warning,
                   "the chassis was opened (written to log.dat); the latch stays set until "
                   "`sentinax4 --clear-intrusion`");
    return false;
}

} // namespace sentinax
