// A stand-in for the desktop's notification service on a private test bus:
// owns org.freedesktop.Notifications on the session bus named by
// DBUS_SESSION_BUS_ADDRESS and appends one line per call to a record file:
//   Notify app=<name> summary=<text> urgency=<value>/<type> actions=<a,b> timeout=<ms> id=<n>
//   CloseNotification <id>
// Modes (second argument):
//   answer            answers every call at once
//   answer-after=MS   answers Notify only after MS milliseconds
//   cancel-after=MS   answers, then MS later sends ActionInvoked(id, "cancel")
//                     and NotificationClosed(id, 2), as a user's click does
//   silent            takes Notify and never answers (a hung service)
// Prints "ready" once the name is owned. Refuses to start without
// DBUS_SESSION_BUS_ADDRESS, so it never takes the name on a real desktop.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QFile>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>
#include <cstdio>
#include <cstdlib>

namespace {
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
} // namespace

class FakeNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    FakeNotifications(QDBusConnection bus, QString record, QString mode)
        : bus_(std::move(bus)), record_(std::move(record)), mode_(std::move(mode)) {}

public slots:
    uint Notify(const QString& app, uint /*replaces*/, const QString& /*icon*/,
                const QString& summary, const QString& /*body*/, const QStringList& actions,
                const QVariantMap& hints, int timeout, const QDBusMessage& message) {
        const uint id = ++lastId_;
        const QVariant urgency = hints.value(QStringLiteral("urgency"));
        Record(QStringLiteral("Notify app=%1 summary=%2 urgency=%3/%4 actions=%5 timeout=%6 id=%7")
                   .arg(app, summary, QString::number(urgency.toInt()),
                        QString::fromLatin1(urgency.typeName() ? urgency.typeName() : "none"),
                        actions.join(QLatin1Char(',')))
                   .arg(timeout)
                   .arg(id));
        if (mode_ == QLatin1String("silent")) {
            message.setDelayedReply(true); // and never answered
            return 0;
        }
        if (mode_.startsWith(QLatin1String("answer-after="))) {
            message.setDelayedReply(true);
            const QDBusMessage reply = message.createReply(QVariant::fromValue(id));
            QTimer::singleShot(Millis(), this, [this, reply] { bus_.send(reply); });
            return 0;
        }
        if (mode_.startsWith(QLatin1String("cancel-after="))) {
            QTimer::singleShot(Millis(), this, [this, id] {
                QDBusMessage action =
                    QDBusMessage::createSignal(kPath, kInterface, QStringLiteral("ActionInvoked"));
                action << id << QStringLiteral("cancel");
                bus_.send(action);
                QDBusMessage closed = QDBusMessage::createSignal(
                    kPath, kInterface, QStringLiteral("NotificationClosed"));
                closed << id << uint(2);
                bus_.send(closed);
            });
        }
        return id;
    }

    void CloseNotification(uint id) { Record(QStringLiteral("CloseNotification %1").arg(id)); }

    QStringList GetCapabilities() { return {QStringLiteral("actions"), QStringLiteral("body")}; }

private:
    int Millis() const { return mode_.section(QLatin1Char('='), 1).toInt(); }
    void Record(const QString& line) {
        QFile file(record_);
        if (file.open(QIODevice::Append | QIODevice::WriteOnly))
            file.write((line + QLatin1Char('\n')).toUtf8());
    }

    QDBusConnection bus_;
    QString record_;
    QString mode_;
    uint lastId_ = 0;
};

int main(int argc, char** argv) {
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (argc != 3 || !address || !*address) {
        std::fprintf(stderr, "usage: DBUS_SESSION_BUS_ADDRESS=<private bus> fake_notifications "
                             "<record> answer|answer-after=MS|cancel-after=MS|silent\n");
        return 2;
    }
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    FakeNotifications service(bus, QString::fromLocal8Bit(argv[1]),
                              QString::fromLocal8Bit(argv[2]));
    if (!bus.isConnected() ||
        !bus.registerObject(kPath, &service, QDBusConnection::ExportAllSlots) ||
        !bus.registerService(QStringLiteral("org.freedesktop.Notifications"))) {
        std::fprintf(stderr, "fake_notifications: cannot serve on %s\n", address);
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}

#include "FakeNotifications.moc"
