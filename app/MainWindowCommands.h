// The window's side of its commands: the Options menu at the menu button, the
// About box, the Settings dialog, the inventory, showing and hiding, message
// boxes. CommandHandler decides; this carries out what it asks.
#pragma once

#include "CommandHandler.h"

#include <QObject>

namespace sentinax {

class CMainDialog;
class CSentinaxApp;
class MainController;

class MainWindowCommands : public QObject, public CommandTarget {
    Q_OBJECT
public:
    MainWindowCommands(CMainDialog& window, CSentinaxApp& app, MainController& controller,
                       ExternalPrograms& programs);

    void OnButtonCommand(const std::string& name) { handler_.OnButtonCommand(name); }
    void Run(WindowCommand command) { handler_.Run(command); }

    // CommandTarget
    void EndRun(int code) override;
    void ShowCommandMessage(const std::string& text) override;
    void PopUpOptionsMenu() override;
    void HideWindow() override;
    void MinimizeWindow() override;
    void RestoreWindow(bool showPlain) override;
    void RunAboutBox() override;
    void SetTemperatureRanges(double lower, double upper) override;
    bool RunSettingsDialog() override;
    void RunInventory() override;
    void CloseAndCleanUp() override;

private:
    CMainDialog& window_;
    CSentinaxApp& app_;
    MainController& controller_;
    CommandHandler handler_;
};

} // namespace sentinax
