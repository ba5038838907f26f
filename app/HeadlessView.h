// The monitor's view where there is no display: readouts, graphs, the tray and
// the window's movements go nowhere; what the window would say in a dialog
// goes to the journal, and the over-temperature countdown becomes logind's
// scheduled power-off:
//   - the countdown: ScheduledPowerOff (logind's ScheduleShutdown; `shutdown
//     -c` is the dialog's Cancel; a CPU back in range does not cancel it);
//   - an opened case: written at warning priority; the latch stays set until
//     `sentinax4 --clear-intrusion` (the dialog's "Reset Now");
//   - the driver failure and other message boxes: written at error priority.
// The settings come from one skin-format file (/etc/sentinax/settings.ini by
// default), read at start and never written; without it the shipped skin's.
#pragma once

#include "MonitorView.h"
#include "hardware/Reporter.h"

#include "config/AdjusterAccess.h"
#include "config/AppSettings.h"

#include <functional>
#include <string>

namespace sentinax {

class ScheduledPowerOff;

inline constexpr const char* kHeadlessSettingsFile = "/etc/sentinax/settings.ini";

class HeadlessView : public MonitorView, public AdjusterAccess {
public:
    // All must outlive the view. quit ends the run's event loop with a code.
    HeadlessView(AppSettings& settings, std::string settingsFile, Reporter& report,
                 ScheduledPowerOff& powerOff, std::function<void(int)> quit);

    void SetIcons() override {}
    void SetTitle(const std::string&) override {}
    // Reads the settings; path names the board's skin, whose shipped copy
    // stands in when the settings file is missing or unusable.
    void LoadSkin(const std::string& path) override;
    void LayoutControls(const BoardProfile&) override {}
    void CreateGraphs(const BoardProfile&, bool) override {}
    void StartAnimation() override {}
    bool CreateTrayIcon() override { return false; }
    void DeleteTrayIcon() override {}
    void HideWindow() override {}
    void ShowMessage(const std::string& text) override;
    void CloseWindow() override { quit_(0); }
    void PostQuit(int exitCode) override { quit_(exitCode); }
    void SetTrayTip(const std::string&) override {}
    void SetItemText(ReadoutItem, const std::string&) override {}
    void SetItemColours(ReadoutItem, uint32_t, uint32_t) override {}
    void AppendPoint(ReadoutItem, double) override {}
    void ShowForWarning(bool) override {}
    bool RunOverTemperatureDialog() override;
    void EndOverTemperatureDialog() override;
    bool RunChassisDialog() override;
    bool RemindsOfAnOpenCase() const override { return false; }

    // AdjusterAccess: there are no adjusters to move.
    void SetSliderPosition(const std::string&, int) override {}

private:
    AppSettings& settings_;
    std::string settingsFile_;
    Reporter& report_;
    ScheduledPowerOff& powerOff_;
    std::function<void(int)> quit_;
};

} // namespace sentinax
