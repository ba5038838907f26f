#include "MainWindowCommands.h"

#include "CMainDialog.h"
#include "CSentinaxApp.h"
#include "MainController.h"

#include "alerts/ui/CountdownDialog.h"
#include "config/ui/CSettingsDlg.h"
#include "skin/CSkinButton.h"
#include "sysinfo/CWmiInfoDialog.h"
#include "widgets/CAboutDialog.h"
#include "widgets/CHistoryGraph.h"

#include <QMenu>
#include <QMessageBox>

namespace sentinax {

MainWindowCommands::MainWindowCommands(CMainDialog& window, CSentinaxApp& app,
                                       MainController& controller, ExternalPrograms& programs)
    : QObject(&window), window_(window), app_(app), controller_(controller),
      handler_(*this, controller, app.Settings, programs) {}

void MainWindowCommands::EndRun(int code) {
    window_.EndDialog(code);
}

void MainWindowCommands::ShowCommandMessage(const std::string& text) {
    window_.ShowMessage(text);
}

// The menu's top-left corner sits at the menu button's bottom-right corner.
void MainWindowCommands::PopUpOptionsMenu() {
    QPoint corner = window_.mapToGlobal(QPoint(window_.width() / 2, window_.height() / 2));
    for (const CSkinButton* button : window_.Buttons()) {
        if (button->Name() == "BUTTON_MENU") {
            corner = button->mapToGlobal(QPoint(button->width(), button->height()));
            break;
        }
    }
    QMenu menu(&window_);
    const QAction* sysInfo = menu.addAction(QStringLiteral("&Sys info"));
    const QAction* inventory = menu.addAction(QStringLiteral("&WMI info"));
    const QAction* settings = menu.addAction(QStringLiteral("Se&ttings"));
    // The choice runs once the menu is gone.
    const QAction* chosen = menu.exec(corner);
    if (chosen == sysInfo)
        Run(WindowCommand::SystemInfo);
    else if (chosen == inventory)
        Run(WindowCommand::Inventory);
    else if (chosen == settings)
        Run(WindowCommand::Settings);
}

void MainWindowCommands::HideWindow() {
    window_.HideWindow();
}

void MainWindowCommands::MinimizeWindow() {
    window_.showMinimized();
}

void MainWindowCommands::RestoreWindow(bool showPlain) {
    if (showPlain && !window_.isMinimized())
        window_.show();
    else
        window_.showNormal();
    window_.raise();
    window_.activateWindow();
    CountdownDialog::RaiseOpen(&window_); // a countdown stays above the window
}

void MainWindowCommands::RunAboutBox() {
    CAboutDialog about(&window_, controller_.Profile().HostMode);
    about.exec();
}

void MainWindowCommands::SetTemperatureRanges(double lower, double upper) {
    for (ReadoutItem item : {ReadoutItem::CpuTemp, ReadoutItem::SysTemp}) {
        if (CHistoryGraph* graph = window_.Panel().Graph(item))
            graph->SetRange(lower, upper, 0);
    }
}

bool MainWindowCommands::RunSettingsDialog() {
    CSettingsDlg dialog(app_.Settings, &window_);
    return dialog.exec() == QDialog::Accepted;
}

void MainWindowCommands::RunInventory() {
    ShowWmiInfoDialog(app_.WmiFile, &window_);
}

void MainWindowCommands::CloseAndCleanUp() {
    window_.EndDialog(0);
    controller_.OnDestroy();
}

} // namespace sentinax
