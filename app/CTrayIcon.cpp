#include "CTrayIcon.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace sentinax {

namespace {

const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");

// A watcher with a host registered shows the icons it is given.
bool StatusNotifierHostPresent() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || bus.interface() == nullptr ||
        !bus.interface()->isServiceRegistered(kWatcherService))
        return false;
    QDBusMessage get = QDBusMessage::createMethodCall(
        kWatcherService, QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << kWatcherService << QStringLiteral("IsStatusNotifierHostRegistered");
    // A host that hangs must not hang the monitor: a short wait, then "no".
    const QDBusMessage reply = bus.call(get, QDBus::Block, 500);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    return qvariant_cast<QDBusVariant>(reply.arguments().first()).variant().toBool();
}

// An X11 system tray owns _NET_SYSTEM_TRAY_S<screen>.
bool XEmbedTrayPresent() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return false;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (c == nullptr)
        return false;
    int screen = 0;
    if (const char* display = std::getenv("DISPLAY")) {
        const char* colon = std::strrchr(display, ':');
        if (const char* dot = colon ? std::strchr(colon, '.') : nullptr)
            screen = std::atoi(dot + 1);
    }
    const std::string name = "_NET_SYSTEM_TRAY_S" + std::to_string(screen);
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 1, static_cast<uint16_t>(name.size()), name.c_str()), nullptr);
    if (atom == nullptr)
        return false;
    const xcb_atom_t selection = atom->atom;
    std::free(atom);
    if (selection == XCB_ATOM_NONE)
        return false; // nobody ever made the name: no tray
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr);
    const bool owned = owner != nullptr && owner->owner != XCB_NONE;
    std::free(owner);
    return owned;
}

TrayActivation ToActivation(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::DoubleClick:
        return TrayActivation::DoubleClick;
    case QSystemTrayIcon::Context:
        return TrayActivation::Context;
    case QSystemTrayIcon::MiddleClick:
        return TrayActivation::Middle;
    case QSystemTrayIcon::Trigger:
    case QSystemTrayIcon::Unknown:
        break;
    }
    return TrayActivation::Trigger;
}

} // namespace

TrayHostKind CTrayIcon::DetectHost() {
    if (StatusNotifierHostPresent())
        return TrayHostKind::StatusNotifier;
    if (XEmbedTrayPresent())
        return TrayHostKind::XEmbed;
    return TrayHostKind::None;
}

CTrayIcon::CTrayIcon(QObject* parent, const QIcon& icon, const QString& tip)
    : QObject(parent), icon_(icon), tip_(tip.left(kTipLength)) {
    host_ = DetectHost();
    if (host_ != TrayHostKind::None) {
        CreateIcon();
        return;
    }
    // Looked for only while there is none: once the icon sits in a tray no
    // timer runs here.
    waitForTray_ = new QTimer(this);
    waitForTray_->setInterval(kTrayPollMs);
    connect(waitForTray_, &QTimer::timeout, this, &CTrayIcon::LookForTray);
    waitForTray_->start();
    auto* watcher = new QDBusServiceWatcher(kWatcherService, QDBusConnection::sessionBus(),
                                            QDBusServiceWatcher::WatchForRegistration, this);
    // The host registers with the watcher just after it appears.
    connect(watcher, &QDBusServiceWatcher::serviceRegistered, this,
            [this] { QTimer::singleShot(300, this, &CTrayIcon::LookForTray); });
}

void CTrayIcon::LookForTray() {
    if (tray_ != nullptr || waitForTray_ == nullptr || !waitForTray_->isActive())
        return;
    host_ = DetectHost();
    if (host_ == TrayHostKind::None)
        return;
    waitForTray_->stop();
    CreateIcon();
    emit becameAvailable();
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
                if (ActivationRestores(host_, ToActivation(reason)))
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
