#include "CTrayIcon.h"

#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>

namespace sentinax {

CTrayIcon::CTrayIcon(QObject* parent, const QIcon& icon, const QString& tip)
    : QObject(parent), icon_(icon), tip_(tip.left(kTipLength)) {
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        CreateIcon();
        return;
    }
    // Looked for only while there is none: once the icon sits in a tray no
    // timer runs here.
    waitForTray_ = new QTimer(this);
    waitForTray_->setInterval(kTrayPollMs);
    connect(waitForTray_, &QTimer::timeout, this, [this] {
        if (!QSystemTrayIcon::isSystemTrayAvailable())
            return;
        waitForTray_->stop();
        CreateIcon();
        emit becameAvailable();
    });
    waitForTray_->start();
}

CTrayIcon::~CTrayIcon() {
    if (tray_)
        tray_->hide();
    delete tray_;
    delete menu_;
}

void CTrayIcon::Remove() {
    if (waitForTray_)
        waitForTray_->stop();
    if (tray_)
        tray_->hide();
}

bool CTrayIcon::Enabled() const {
    return tray_ && tray_->isVisible();
}

void CTrayIcon::CreateIcon() {
    menu_ = new QMenu;
    menu_->addAction(QStringLiteral("Restore"), this, &CTrayIcon::restoreRequested);
    menu_->addAction(QStringLiteral("Exit"), this, &CTrayIcon::exitRequested);
    tray_ = new QSystemTrayIcon(icon_);
    tray_->setToolTip(tip_);
    tray_->setContextMenu(menu_);
    connect(tray_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::DoubleClick)
                    emit restoreRequested();
            });
    tray_->show();
}

void CTrayIcon::UpdateTip(const QString& tip, const QIcon& icon) {
    const QString shown = tip.left(kTipLength);
    const bool iconChanged = icon.cacheKey() != icon_.cacheKey();
    if (shown == tip_ && !iconChanged)
        return;
    tip_ = shown;
    icon_ = icon;
    if (!tray_)
        return;
    if (iconChanged)
        tray_->setIcon(icon_);
    tray_->setToolTip(tip_);
}

} // namespace sentinax
