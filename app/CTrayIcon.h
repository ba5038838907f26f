// The monitor's icon in the notification area, with the tip text and the TRAY
// menu ("Restore", "Exit"). A double-click asks for the window; a single click
// does nothing. Where no tray exists yet (the monitor often starts at log-in
// before the panel), the icon waits and appears as soon as a tray does.
#pragma once

#include <QIcon>
#include <QObject>
#include <QString>

class QMenu;
class QSystemTrayIcon;
class QTimer;

namespace sentinax {

class CTrayIcon : public QObject {
    Q_OBJECT
public:
    // Characters of the tip that are shown.
    static constexpr int kTipLength = 127;
    // How often a missing tray is looked for.
    static constexpr int kTrayPollMs = 2000;

    CTrayIcon(QObject* parent, const QIcon& icon, const QString& tip);
    ~CTrayIcon() override;

    // True while the icon is in a tray.
    bool Enabled() const;
    // Takes the icon out of the tray now and stops waiting for one; the
    // object itself may still be delivering the menu's choice.
    void Remove();
    // Takes the tip text and the icon; nothing reaches the tray unless one
    // of them changed.
    void UpdateTip(const QString& tip, const QIcon& icon);

    const QString& Tip() const { return tip_; }

signals:
    void restoreRequested();
    void exitRequested();
    // A tray appeared after the monitor started and now holds the icon.
    void becameAvailable();

private:
    void CreateIcon();

    QIcon icon_;
    QString tip_;
    QSystemTrayIcon* tray_ = nullptr;
    QMenu* menu_ = nullptr;
    QTimer* waitForTray_ = nullptr;
};

} // namespace sentinax
