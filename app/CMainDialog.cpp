#include "CMainDialog.h"

#include "CSentinaxApp.h"
#include "CTrayIcon.h"
#include "DisplayLossGuard.h"
#include "MainWindowCommands.h"

#include "alerts/ui/CChassisWarningDlg.h"
#include "alerts/ui/CSystemProtectionDlg.h"
#include "alerts/ui/CountdownNotification.h"
#include "widgets/CAnimatedPicture.h"
#include "widgets/MonitorLayout.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMessageBox>

namespace sentinax {

namespace {
// The face's size until the skin provides its own.
constexpr int kFaceWidth = 560;
constexpr int kFaceHeight = 430;

// Once the program is ending, a window that opens still (a dialog whose work
// was under way when the request came, such as the inventory reading its
// devices) is closed as soon as its loop runs, so that it cannot hold the end.
class CloseLateWindows : public QObject {
public:
    CloseLateWindows(QObject* parent, QWidget* keep) : QObject(parent), keep_(keep) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (widget->isWindow() && widget != keep_)
                QMetaObject::invokeMethod(
                    widget, [widget] { widget->close(); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    QWidget* keep_;
};
} // namespace

CMainDialog::CMainDialog(CSentinaxApp& app, Platform& platform)
    : CSkinDialog(nullptr), app_(app), panel_(this) {
    SetSettings(&app.Settings);
    SetReporter([&platform](const std::string& message) { platform.Report(message); });
    setFixedSize(kFaceWidth, kFaceHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A window of its own, not a dialog: a dialog without a parent is made a
    // transient of Qt's hidden leader window, and a minimised transient has
    // no task bar entry, which is all that leads back to it without a tray.
    setWindowFlags((windowFlags() & ~Qt::WindowType_Mask) | Qt::Window);
    // Connected to the session's bus now, so that a countdown never waits for it.
    notice_ = new CountdownNotification(this);
}

void CMainDialog::Attach(MainController& controller, MainWindowCommands& commands) {
    controller_ = &controller;
    commands_ = &commands;
}

CMainDialog::~CMainDialog() {
    if (controller_)
        controller_->OnDestroy();
}

int CMainDialog::DoModal() {
    // From here on a lost display still ends the program in order.
    DisplayLossGuard::Arm(
        [](void* controller) { static_cast<MainController*>(controller)->CleanUpWithoutDisplay(); },
        controller_);
    if (controller_->OnInitDialog() && !endRequested_) {
        show();
        QEventLoop loop;
        loop_ = &loop;
        if (!endRequested_)
            loop.exec();
        loop_ = nullptr;
    }
    controller_->OnDestroy();
    DisplayLossGuard::Disarm();
    hide();
    return exitCode_;
}

void CMainDialog::EndDialog(int code) {
    endRequested_ = true;
    exitCode_ = code;
    if (loop_)
        loop_->exit(code);
}

void CMainDialog::SetIcons() {
    setWindowIcon(app_.Icons[0]);
}

void CMainDialog::SetTitle(const std::string& title) {
    setWindowTitle(QString::fromStdString(title));
}

void CMainDialog::LoadSkin(const std::string& path) {
    SetSkinPath(path);
    CSkinDialog::OnInitDialog();
}

void CMainDialog::LayoutControls(const BoardProfile& profile) {
    panel_.LayoutControls(profile.NoPowerFan);
}

void CMainDialog::CreateGraphs(const BoardProfile& profile, bool celsius) {
    panel_.CreateGraphs(profile.FanCaptions, celsius, profile.NoPowerFan);
}

// The picture on the face (resource 129), animated while the window can be seen.
void CMainDialog::StartAnimation() {
    auto* picture = new CAnimatedPicture(this);
    picture->setObjectName(QStringLiteral("picture"));
    picture->move(MonitorLayout::kAnimatedPicture.x, MonitorLayout::kAnimatedPicture.y);
    picture->show();
    FollowExposure(picture);
    if (picture->LoadFromResource(QStringLiteral("129"), QStringLiteral("GIF")))
        picture->Draw();
}

// The icon waits for a tray that is not there yet (the monitor often starts
// before the panel); until then the window is minimised rather than hidden.
bool CMainDialog::CreateTrayIcon() {
    tray_ = new CTrayIcon(this, app_.Icons[0], QString::fromStdString(app_.TrayTip));
    connect(tray_, &CTrayIcon::restoreRequested, this,
            [this] { commands_->Run(WindowCommand::Restore); });
    connect(tray_, &CTrayIcon::exitRequested, this,
            [this] { commands_->Run(WindowCommand::TrayExit); });
    connect(tray_, &CTrayIcon::becameAvailable, this,
            [this] { controller_->ClearStandingHint(StandingHint::NoTray); });
    // Until a tray appears the face says how to get back to it.
    if (!tray_->Enabled())
        controller_->SetStandingHint(StandingHint::NoTray, kNoTrayHint);
    return tray_->Enabled();
}

// The clean-up may run from the tray menu's own Exit: the icon leaves the tray
// now, the object once its menu has returned.
void CMainDialog::DeleteTrayIcon() {
    if (!tray_)
        return;
    tray_->Remove();
    tray_->deleteLater();
    tray_ = nullptr;
}

void CMainDialog::HideWindow() {
    // Without a tray icon a hidden window could never be brought back: it is
    // minimised instead, so it stays in the task bar.
    if (tray_ && tray_->Enabled())
        hide();
    else
        showMinimized();
}

void CMainDialog::ShowMessage(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(),
                    QString::fromStdString(text), QMessageBox::Ok, this);
    box.exec();
}

void CMainDialog::CloseWindow() {
    EndDialog(0);
}

void CMainDialog::PostQuit(int exitCode) {
    EndDialog(exitCode);
}

// Refreshed on every tick; the tray is only touched when the text changed
// (the icon never changes while the program runs).
void CMainDialog::SetTrayTip(const std::string& text) {
    if (text == app_.TrayTip)
        return;
    app_.TrayTip = text;
    if (tray_)
        tray_->UpdateTip(QString::fromStdString(text), app_.Icons[0]);
}

void CMainDialog::SetItemText(ReadoutItem item, const std::string& text) {
    panel_.SetItemText(item, text);
}

void CMainDialog::SetItemColours(ReadoutItem item, uint32_t unlit, uint32_t lit) {
    panel_.SetItemColours(item, lit, unlit);
}

void CMainDialog::AppendPoint(ReadoutItem item, double value) {
    panel_.AppendPoint(item, value);
}

// A warning brings the window back from the tray or the task bar and gives it
// the focus once; while it stays up, later warnings only keep it on top, so the
// user is not robbed of the keyboard on every tick.
void CMainDialog::ShowForWarning(bool showPlain) {
    const bool restoring = isHidden() || isMinimized();
    if (isMinimized() || !showPlain)
        showNormal(); // restores a hidden or minimised window
    else
        show();
    raise();
    if (restoring)
        activateWindow();
    // Without a window manager the window just raised would cover a countdown.
    CountdownDialog::RaiseOpen(this);
}

// The countdown also goes to the desktop's notifications, whose Cancel
// cancels it like the dialog's own button.
bool CMainDialog::RunOverTemperatureDialog() {
    CSystemProtectionDlg dialog(this);
    countdown_ = &dialog;
    const QMetaObject::Connection cancel =
        connect(notice_, &CountdownNotification::cancelRequested, &dialog, &QDialog::reject);
    notice_->Show(dialog.windowTitle(), dialog.TextLabel()->text());
    const bool accepted = dialog.exec() == QDialog::Accepted;
    disconnect(cancel);
    notice_->Close();
    countdown_ = nullptr;
    return accepted;
}

void CMainDialog::EndOverTemperatureDialog() {
    if (countdown_)
        countdown_->reject();
}

bool CMainDialog::RunChassisDialog() {
    CChassisWarningDlg dialog(this);
    return dialog.exec() == QDialog::Accepted;
}

void CMainDialog::OnQueryEndSession() {
    controller_->OnQueryEndSession();
    EndDialog(0);
    // The process is going away: a menu, message box or dialog still open
    // (even one shown during start-up) must not keep it waiting for a click.
    // Each runs a loop of its own, nested in whatever opened it; closed, they
    // all return (menus with no choice, dialogs as cancelled, so a countdown
    // never powers off), and the outermost loop then ends.
    constexpr int kMostNestedLoops = 64; // far more than can ever be open
    for (int i = 0; i < kMostNestedLoops; ++i) {
        QWidget* open = QApplication::activePopupWidget();
        if (!open)
            open = QApplication::activeModalWidget();
        if (!open || open == this)
            break;
        open->close();
        if (open->isVisible())
            open->hide(); // refused to close: a hidden one ends its loop all the same
    }
    if (notice_)
        notice_->Close();
    if (!closeLate_)
        closeLate_ = new CloseLateWindows(this, this);
    qApp->installEventFilter(closeLate_);
}

void CMainDialog::paintEvent(QPaintEvent* event) {
    CSkinDialog::paintEvent(event);
}

int CMainDialog::GetSliderPosition(const std::string& name) const {
    return CSkinDialog::GetSliderPosition(name);
}

void CMainDialog::SetFieldText(const std::string& name, const std::string& text) {
    CSkinDialog::SetFieldText(name, text);
}

void CMainDialog::OnButtonCommand(const std::string& name) {
    controller_->OnUserAction();
    commands_->OnButtonCommand(name);
}

void CMainDialog::OnSliderChanged(const std::string& name, int, int) {
    controller_->OnAdjusterChanged(name);
}

void CMainDialog::OnPointerOver(const std::string& name, int, int) {
    controller_->OnHint(name);
}

void CMainDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    EndDialog(0);
}

void CMainDialog::done(int code) {
    EndDialog(code);
}

// Escape must not end the monitor.
void CMainDialog::reject() {}

} // namespace sentinax
