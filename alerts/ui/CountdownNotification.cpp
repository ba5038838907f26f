#include "alerts/ui/CountdownNotification.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFileInfo>
#include <QVariantMap>

#include <cstdlib>

namespace sentinax {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
constexpr uchar kUrgencyCritical = 2;

// The session's bus, or a disconnected one when the session has none: an
// unset address would make the bus library start a bus of its own.
QDBusConnection SessionBusIfAny() {
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const bool named = address && *address;
    const bool socket =
        runtime && *runtime && QFileInfo(QString::fromLocal8Bit(runtime) + "/bus").exists();
    if (!named && !socket)
        return QDBusConnection(QStringLiteral("sentinax-no-session-bus"));
    return QDBusConnection::sessionBus();
}

} // namespace

CountdownNotification::CountdownNotification(QObject* parent)
    : CountdownNotification(SessionBusIfAny(), parent) {}

CountdownNotification::CountdownNotification(const QDBusConnection& bus, QObject* parent)
    : QObject(parent), bus_(bus) {
    Subscribe();
}

// The signals are matched by path and interface from any sender: naming the
// service would make the bus library look its owner up with a blocking call.
void CountdownNotification::Subscribe() {
    if (!bus_.isConnected())
        return;
    bus_.connect(QString(), kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                 SLOT(OnActionInvoked(quint32, QString)));
    bus_.connect(QString(), kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                 SLOT(OnNotificationClosed(quint32, quint32)));
}

void CountdownNotification::Show(const QString& summary, const QString& body) {
    if (shown_)
        Close();
    if (!bus_.isConnected())
        return;
    shown_ = true;
    id_ = 0;
    const quint64 generation = ++generation_;

    QVariantMap hints;
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue<uchar>(kUrgencyCritical));
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("sentinax4"));
    hints.insert(QStringLiteral("category"), QStringLiteral("device.error"));
    QDBusMessage notify =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    notify << QStringLiteral("Sentinax4") << quint32(0) << QStringLiteral("sentinax4") << summary
           << body << QStringList{QString::fromLatin1(kCancelAction), QStringLiteral("Cancel")}
           << hints << qint32(0); // never expires: it goes when the countdown does
    // A service that is not running is not started for this.
    notify.setAutoStartService(false);
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(notify, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, generation](QDBusPendingCallWatcher* w) { OnNotifyAnswered(w, generation); });
}

void CountdownNotification::OnNotifyAnswered(QDBusPendingCallWatcher* watcher, quint64 generation) {
    watcher->deleteLater();
    const QDBusPendingReply<quint32> reply = *watcher;
    if (reply.isError())
        return; // no service, or it did not answer in time: the dialog alone
    const quint32 id = reply.value();
    if (generation != generation_ || !shown_) {
        SendClose(id); // the countdown ended before the service answered
        return;
    }
    id_ = id;
}

void CountdownNotification::Close() {
    if (!shown_)
        return;
    shown_ = false;
    if (id_ != 0)
        SendClose(id_);
    id_ = 0; // an answer still to come is withdrawn when it comes
}

void CountdownNotification::SendClose(quint32 id) {
    if (!bus_.isConnected() || id == 0)
        return;
    QDBusMessage close = QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                        QStringLiteral("CloseNotification"));
    close << id;
    close.setAutoStartService(false);
    // The answer does not matter; the watcher only keeps the call from leaking.
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(close, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, watcher, &QObject::deleteLater);
}

void CountdownNotification::OnActionInvoked(quint32 id, const QString& action) {
    if (shown_ && id != 0 && id == id_ && action == QLatin1String(kCancelAction))
        emit cancelRequested();
}

void CountdownNotification::OnNotificationClosed(quint32 id, quint32 /*reason*/) {
    // Dismissed by the user or the server: nothing to withdraw any more. The
    // countdown goes on in its dialog.
    if (shown_ && id != 0 && id == id_)
        id_ = 0;
}

} // namespace sentinax
