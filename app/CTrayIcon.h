// The monitor's icon in the notification area, with the tip text and the TRAY
// menu ("Restore", "Exit"). In an XEmbed tray a double-click asks for the
// window and a single click does nothing; a StatusNotifier host has one
// activation, which asks for it. Where no tray exists yet (the monitor often
// starts at log-in before the panel), the icon waits and appears as soon as
// a tray does: a StatusNotifier watcher that appears on the session bus is
// seen at once, an XEmbed tray within the poll's period.
//
// Qt picks the kind of tray once, at its first icon (or availability check),
// and keeps it for the process's life; so nothing here asks Qt before a host
// is known to be there, or a host started later would never be used.
#pragma once

#include "TrayHost.h"

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
    // The kind of tray that holds the icon; None while it waits for one.
    TrayHostKind Host() const { return host_; }
    // What kind of tray the desktop has now (a session-bus and an X11 query).
    static TrayHostKind DetectHost();
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
    void LookForTray();

    QIcon icon_;
    QString tip_;
    QSystemTrayIcon* tray_ = nullptr;
    QMenu* menu_ = nullptr;
    QTimer* waitForTray_ = nullptr;
    TrayHostKind host_ = TrayHostKind::None;
};

} // namespace sentinax
