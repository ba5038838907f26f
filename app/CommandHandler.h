// Carries out the main window's commands. The window's side of each command
// (menus, dialogs, showing and hiding) goes through CommandTarget; the
// monitoring state through MainController; other programs through
// ExternalPrograms. So the whole command table runs in tests with doubles.
#pragma once

#include "ExternalPrograms.h"
#include "WindowCommand.h"

#include <string>
#include <string_view>

namespace sentinax {

class MainController;
struct AppSettings;

// What commands ask of the window.
class CommandTarget {
public:
    virtual ~CommandTarget() = default;
    // Ends the window's run with this result.
    virtual void EndRun(int code) = 0;
    // A modal OK message box with the program's caption.
    virtual void ShowCommandMessage(const std::string& text) = 0;
    // Pops the Options menu up at the menu button's bottom-right corner; the
    // entry chosen comes back as a command.
    virtual void PopUpOptionsMenu() = 0;
    // Hides the window to the tray (minimised where there is no tray).
    virtual void HideWindow() = 0;
    virtual void MinimizeWindow() = 0;
    // Shows the window again: restored, or shown normally (showPlain).
    virtual void RestoreWindow(bool showPlain) = 0;
    virtual void RunAboutBox() = 0;
    // Both temperature graphs get this range (whole degrees).
    virtual void SetTemperatureRanges(double lower, double upper) = 0;
    // The Settings dialog, modal; true when it ended with OK.
    virtual bool RunSettingsDialog() = 0;
    // The hardware inventory dialog, modal.
    virtual void RunInventory() = 0;
    // Asks the window to close and runs the clean-up at once.
    virtual void CloseAndCleanUp() = 0;
};

class CommandHandler {
public:
    static constexpr const char* kCoolingToolRefused =
        "Frostline not support your motherboard  !!!";

    CommandHandler(CommandTarget& target, MainController& controller, AppSettings& settings,
                   ExternalPrograms& programs);

    // A face button was clicked: its command, if it has one.
    void OnButtonCommand(std::string_view name);
    void Run(WindowCommand command);

private:
    void ToggleTemperatureUnit();

    CommandTarget& target_;
    MainController& controller_;
    AppSettings& settings_;
    ExternalPrograms& programs_;
};

} // namespace sentinax
