// The main window: the skinned monitor display. Its logic lives in
// MainController; this class forwards Qt's events to it and carries out what
// the controller asks of the window. It owns no platform service: WindowRun
// builds them and hands the window what it needs.
#pragma once

#include "MainController.h"
#include "MonitorView.h"
#include "Platform.h"

#include "skin/CSkinDialog.h"
#include "widgets/MonitorPanel.h"

#include <QEventLoop>

namespace sentinax {

class CSentinaxApp;
class CSystemProtectionDlg;
class CTrayIcon;
class CountdownNotification;
class MainWindowCommands;

class CMainDialog : public CSkinDialog, public MonitorView {
    Q_OBJECT
public:
    // platform: where messages go (and must outlive the window).
    CMainDialog(CSentinaxApp& app, Platform& platform);
    ~CMainDialog() override;

    // The logic the window forwards its events to, and its commands; both
    // must outlive the window. Set once, before DoModal.
    void Attach(MainController& controller, MainWindowCommands& commands);

    // Initialises the window and runs it until it ends; the clean-up has run
    // when this returns. Returns the exit code.
    int DoModal();
    // Ends the modal run.
    void EndDialog(int code);

    MonitorPanel& Panel() { return panel_; }
    MainWindowCommands& Commands() { return *commands_; }
    CTrayIcon* TrayIcon() const { return tray_; }

    // MonitorView
    void SetIcons() override;
    void SetTitle(const std::string& title) override;
    void LoadSkin(const std::string& path) override;
    void LayoutControls(const BoardProfile& profile) override;
    void CreateGraphs(const BoardProfile& profile, bool celsius) override;
    void StartAnimation() override;
    bool CreateTrayIcon() override;
    void DeleteTrayIcon() override;
    void HideWindow() override;
    void ShowMessage(const std::string& text) override;
    void CloseWindow() override;
    void PostQuit(int exitCode) override;
    void SetTrayTip(const std::string& text) override;
    void SetItemText(ReadoutItem item, const std::string& text) override;
    void SetItemColours(ReadoutItem item, uint32_t unlit, uint32_t lit) override;
    void AppendPoint(ReadoutItem item, double value) override;
    void ShowForWarning(bool showPlain) override;
    bool RunOverTemperatureDialog() override;
    void EndOverTemperatureDialog() override;
    bool RunChassisDialog() override;

    // The skin's controls by name (MonitorView) and what they report (CSkinDialog).
    int GetSliderPosition(const std::string& name) const override;
    void SetFieldText(const std::string& name, const std::string& text) override;
    // The face's buttons: their commands (WindowCommand).
    void OnButtonCommand(const std::string& name) override;
    void OnSliderChanged(const std::string& name, int code, int position) override;
    void OnPointerOver(const std::string& name, int x, int y) override;

public slots:
    // The session is ending or the process was asked to stop: clean up, close
    // every menu and dialog that holds a loop of its own, then end.
    void OnQueryEndSession();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void done(int code) override;
    void reject() override;

private:
    CSentinaxApp& app_;
    MainController* controller_ = nullptr;
    MonitorPanel panel_;
    MainWindowCommands* commands_ = nullptr;
    CTrayIcon* tray_ = nullptr;
    CountdownNotification* notice_ = nullptr;
    CSystemProtectionDlg* countdown_ = nullptr; // while the countdown runs
    QObject* closeLate_ = nullptr;              // closes windows that open while ending
    QEventLoop* loop_ = nullptr;
    bool endRequested_ = false;
    int exitCode_ = 0;
};

} // namespace sentinax
