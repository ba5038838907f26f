// What the monitoring logic asks of the main window. CMainDialog implements it
// with Qt; tests implement it with a recorder, so a whole start-up and tick run
// without a display.
#pragma once

#include "hardware/SensorTypes.h"

#include <cstdint>
#include <string>

namespace sentinax {

struct BoardProfile;

class MonitorView {
public:
    virtual ~MonitorView() = default;

    // Start-up steps carried out by the window itself.
    virtual void SetIcons() = 0;
    virtual void SetTitle(const std::string& title) = 0;
    // Runs the skinned base's initialisation on this skin file (which reads the
    // settings when the file exists).
    virtual void LoadSkin(const std::string& path) = 0;
    virtual void LayoutControls(const BoardProfile& profile) = 0;
    virtual void CreateGraphs(const BoardProfile& profile, bool celsius) = 0;
    virtual void StartAnimation() = 0;
    // True when a tray icon now exists.
    virtual bool CreateTrayIcon() = 0;
    virtual void DeleteTrayIcon() = 0;

    // Hides the window to the tray: hidden with its pop-ups and lowered. Where
    // no tray is available the window is minimised instead, so that it stays
    // reachable from the task bar.
    virtual void HideWindow() = 0;
    // A modal OK message box with the program's caption.
    virtual void ShowMessage(const std::string& text) = 0;
    // Ends the window's modal run (the close request of the window).
    virtual void CloseWindow() = 0;
    // Ends the modal run with this exit code, without any message.
    virtual void PostQuit(int exitCode) = 0;
    // The tray icon's tooltip.
    virtual void SetTrayTip(const std::string& text) = 0;

    // One item's readout and graph. Colours are 32-bit with red in the low byte.
    virtual void SetItemText(ReadoutItem item, const std::string& text) = 0;
    virtual void SetItemColours(ReadoutItem item, uint32_t unlit, uint32_t lit) = 0;
    // Volts, degrees in the shown unit, or rpm.
    virtual void AppendPoint(ReadoutItem item, double value) = 0;

    // Brings the window back for a warning: restored, or shown normally on
    // boards that never hide it.
    virtual void ShowForWarning(bool showPlain) = 0;
    // The over-temperature countdown and the intrusion warning, run modally
    // inside the tick (further ticks run nested in their loops). True when
    // they ended accepted (their OK button or the end of the countdown).
    virtual bool RunOverTemperatureDialog() = 0;
    virtual bool RunChassisDialog() = 0;
    // Ends an over-temperature countdown under way as cancelled (its
    // RunOverTemperatureDialog returns false); nothing when none runs.
    virtual void EndOverTemperatureDialog() {}
    // Whether a declined intrusion warning comes back while the latch stays
    // set: true where someone can answer it; without a window it is told
    // once per opening.
    virtual bool RemindsOfAnOpenCase() const { return true; }

    // The skin's limit adjusters and text fields, by control name (the first
    // with exactly that name). A window without a skin has neither: positions
    // read 0 and texts go nowhere.
    virtual int GetSliderPosition(const std::string& name) const {
        (void)name;
        return 0;
    }
    virtual void SetFieldText(const std::string& name, const std::string& text) {
        (void)name;
        (void)text;
    }
};

// The window's timers, by logical id. SetTimer (re)starts the timer with the
// period and returns the id, or 0 when it could not be started.
class TickTimers {
public:
    virtual ~TickTimers() = default;
    virtual int SetTimer(int id, int periodMs) = 0;
    virtual void KillTimer(int id) = 0;
};

} // namespace sentinax
