// A stand-in for logind on a private test bus: owns org.freedesktop.login1 and
// serves, at /org/freedesktop/login1 on org.freedesktop.login1.Manager:
//   PowerOff(b)                     records "PowerOff true|false"
//   SetWallMessage(s, b)            records "SetWallMessage <text> true|false"
//   ScheduleShutdown(s, t)          records "ScheduleShutdown <type> <usec>"
//   CancelScheduledShutdown() -> b  records "CancelScheduledShutdown true|false"
//   property ScheduledShutdown (st) ("", 0) when none is scheduled
// When a scheduled time comes it records "elapsed <type>" and, like logind on
// success, keeps the schedule (nothing is powered off: the machine would go
// down now). Modes (second argument):
//   normal     as above
//   refuse     ScheduleShutdown answers AccessDenied, as polkit's refusal does
//   give-up    at the scheduled time the schedule is cleared, as logind does
//              when it cannot carry it out; records "gave up <type>"
//   hold-then-give-up  keeps the schedule for 500 ms past its time, then
//              clears it (as when a cancel comes while the power-off waits
//              for the programs that delay it); records "gave up <type>"
// Every line goes to the record file named by the first argument. Prints
// "ready" once the name is owned. Refuses to start unless
// DBUS_SYSTEM_BUS_ADDRESS names the bus to use, so it can never take the name
// on the machine's own system bus.
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMetaType>
#include <QDateTime>
#include <QFile>
#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

struct Schedule {
    QString type;
    qulonglong usec = 0;
};
Q_DECLARE_METATYPE(Schedule)

QDBusArgument& operator<<(QDBusArgument& arg, const Schedule& s) {
    arg.beginStructure();
    arg << s.type << s.usec;
    arg.endStructure();
    return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, Schedule& s) {
    arg.beginStructure();
    arg >> s.type >> s.usec;
    arg.endStructure();
    return arg;
}

class FakeLogindManager : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
    Q_PROPERTY(Schedule ScheduledShutdown READ ScheduledShutdown)
public:
    FakeLogindManager(QString recordPath, QString mode)
        : recordPath_(std::move(recordPath)), mode_(std::move(mode)) {
        elapse_.setSingleShot(true);
        elapse_.setTimerType(Qt::PreciseTimer);
        connect(&elapse_, &QTimer::timeout, this, &FakeLogindManager::Elapsed);
    }

    // Read at the moment of asking, so that a drop at the scheduled time is
    // exact, whenever the record's timer fires.
    Schedule ScheduledShutdown() const {
        const qulonglong now = static_cast<qulonglong>(QDateTime::currentMSecsSinceEpoch()) * 1000;
        if (!schedule_.type.isEmpty() && now >= schedule_.usec + DropAfterUsec())
            return {};
        return schedule_;
    }

public slots:
    void PowerOff(bool interactive) { Record(interactive ? "PowerOff true" : "PowerOff false"); }

    void SetWallMessage(const QString& text, bool enable) {
        Record(QStringLiteral("SetWallMessage %1 %2")
                   .arg(text, enable ? QStringLiteral("true") : QStringLiteral("false")));
    }

    void ScheduleShutdown(const QString& type, qulonglong usec) {
        Record(QStringLiteral("ScheduleShutdown %1 %2").arg(type).arg(usec));
        if (mode_ == QLatin1String("refuse")) {
            sendErrorReply(QDBusError::AccessDenied, QStringLiteral("Permission denied"));
            return;
        }
        schedule_ = {type, usec};
        const qint64 ms = static_cast<qint64>(usec / 1000) - QDateTime::currentMSecsSinceEpoch();
        elapse_.start(static_cast<int>(std::max<qint64>(ms, 0)));
    }

    bool CancelScheduledShutdown() {
        const bool cancelled = !ScheduledShutdown().type.isEmpty();
        Record(cancelled ? "CancelScheduledShutdown true" : "CancelScheduledShutdown false");
        schedule_ = {};
        elapse_.stop();
        return cancelled;
    }

private:
    // How long past its time the schedule is dropped; never in the normal mode.
    qulonglong DropAfterUsec() const {
        if (mode_ == QLatin1String("give-up"))
            return 0;
        if (mode_ == QLatin1String("hold-then-give-up"))
            return 500000;
        return ~0ull / 2;
    }

    void Elapsed() {
        if (mode_ == QLatin1String("give-up") || mode_ == QLatin1String("hold-then-give-up"))
            Record(QStringLiteral("gave up %1").arg(schedule_.type));
        else
            Record(QStringLiteral("elapsed %1").arg(schedule_.type));
    }

    void Record(const QString& line) {
        QFile record(recordPath_);
        if (record.open(QIODevice::Append | QIODevice::WriteOnly))
            record.write((line + QLatin1Char('\n')).toUtf8());
    }

    QString recordPath_;
    QString mode_;
    Schedule schedule_;
    QTimer elapse_;
};

int main(int argc, char** argv) {
    const char* address = std::getenv("DBUS_SYSTEM_BUS_ADDRESS");
    if (argc < 2 || argc > 3 || !address || !*address) {
        std::fprintf(stderr, "usage: DBUS_SYSTEM_BUS_ADDRESS=<private bus> fake_logind <record> "
                             "[normal|refuse|give-up|hold-then-give-up]\n");
        return 2;
    }
    QCoreApplication app(argc, argv);
    qDBusRegisterMetaType<Schedule>();
    QDBusConnection bus = QDBusConnection::systemBus();
    FakeLogindManager manager(QString::fromLocal8Bit(argv[1]), argc == 3
                                                                   ? QString::fromLocal8Bit(argv[2])
                                                                   : QStringLiteral("normal"));
    if (!bus.isConnected() ||
        !bus.registerObject(QStringLiteral("/org/freedesktop/login1"), &manager,
                            QDBusConnection::ExportAllSlots |
                                QDBusConnection::ExportAllProperties) ||
        !bus.registerService(QStringLiteral("org.freedesktop.login1"))) {
        std::fprintf(stderr, "fake_logind: cannot serve on %s\n", address);
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}

#include "FakeLogind.moc"
