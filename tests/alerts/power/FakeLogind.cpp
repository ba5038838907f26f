// A stand-in for logind on a private test bus: owns org.freedesktop.login1,
// serves org.freedesktop.login1.Manager.PowerOff(b) at /org/freedesktop/login1
// and appends one line per call, "PowerOff true" or "PowerOff false", to the
// file named by its argument. Prints "ready" once the name is owned.
// Refuses to start unless DBUS_SYSTEM_BUS_ADDRESS names the bus to use, so it
// can never take the name on the machine's own system bus.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QFile>
#include <QObject>
#include <QString>
#include <cstdio>
#include <cstdlib>

class FakeLogindManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
public:
    explicit FakeLogindManager(QString recordPath) : recordPath_(std::move(recordPath)) {}

public slots:
    void PowerOff(bool interactive) {
        QFile record(recordPath_);
        if (record.open(QIODevice::Append | QIODevice::WriteOnly)) {
            record.write(interactive ? "PowerOff true\n" : "PowerOff false\n");
        }
    }

private:
    QString recordPath_;
};

int main(int argc, char** argv) {
    const char* address = std::getenv("DBUS_SYSTEM_BUS_ADDRESS");
    if (argc != 2 || !address || !*address) {
        std::fprintf(stderr, "usage: DBUS_SYSTEM_BUS_ADDRESS=<private bus> fake_logind <record>\n");
        return 2;
    }
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::systemBus();
    FakeLogindManager manager(QString::fromLocal8Bit(argv[1]));
    if (!bus.isConnected() ||
        !bus.registerObject(QStringLiteral("/org/freedesktop/login1"), &manager,
                            QDBusConnection::ExportAllSlots) ||
        !bus.registerService(QStringLiteral("org.freedesktop.login1"))) {
        std::fprintf(stderr, "fake_logind: cannot serve on %s\n", address);
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}

#include "FakeLogind.moc"
