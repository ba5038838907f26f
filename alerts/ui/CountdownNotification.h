// Announces the over-temperature countdown through the desktop's notification
// service (org.freedesktop.Notifications on the session bus), so that a user
// in a full-screen program sees it too: critical urgency (shown over
// full-screen windows, never expires), with a "Cancel" action that calls the
// power-off off. The notification is withdrawn when the countdown ends.
//
// No call ever waits: Notify and CloseNotification are sent asynchronously
// with a short timeout, and the answer is taken from the event loop when it
// comes. A service that is missing, hangs or vanishes costs nothing but the
// notification; the countdown dialog carries the countdown alone.
//
// The session bus is only used when the session names one
// (DBUS_SESSION_BUS_ADDRESS, or a bus socket in XDG_RUNTIME_DIR): the monitor
// never starts a bus of its own.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

class QDBusPendingCallWatcher;

namespace sentinax {

class CountdownNotification : public QObject {
    Q_OBJECT
public:
    // How long a call may wait for its answer before it counts as lost.
    static constexpr int kCallTimeoutMs = 2000;
    static constexpr const char* kCancelAction = "cancel";

    // Connects to the session's bus now (not during a countdown), when the
    // session has one.
    explicit CountdownNotification(QObject* parent = nullptr);
    // The same on a bus of the caller's choice (tests).
    CountdownNotification(const QDBusConnection& bus, QObject* parent);

    // Shows the notification; replaces one that is still shown.
    void Show(const QString& summary, const QString& body);
    // Withdraws it; also one whose Notify has not been answered yet.
    void Close();

    bool Available() const { return bus_.isConnected(); }

signals:
    // The user chose "Cancel" on the notification.
    void cancelRequested();

private slots:
    void OnActionInvoked(quint32 id, const QString& action);
    void OnNotificationClosed(quint32 id, quint32 reason);

private:
    void Subscribe();
    void OnNotifyAnswered(QDBusPendingCallWatcher* watcher, quint64 generation);
    void SendClose(quint32 id);

    QDBusConnection bus_;
    quint64 generation_ = 0; // one per Show; answers of older ones are withdrawn
    bool shown_ = false;     // Show called and not Close
    quint32 id_ = 0;         // the service's id of the shown one; 0 until answered
};

} // namespace sentinax
