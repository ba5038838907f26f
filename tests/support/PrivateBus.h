// A D-Bus daemon of the test's own (the policy of private-bus.conf beside
// this file) with its socket in a folder the test owns, and the start of a
// helper program on it that says "ready" once it has taken its name. Nothing
// here can reach the machine's own buses.
#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTimer>

namespace sentinax::test {

inline constexpr int kBusLimitMs = 20000; // generous: only a broken build ever waits this long

// Runs the event loop for ms milliseconds (the bus's answers arrive in it).
inline void SpinEventLoop(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// The lines of a helper's record file; none while it does not exist.
inline QStringList ReadLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// Waits until path holds at least count lines; returns what it holds then.
inline QStringList WaitForLines(const QString& path, int count) {
    QDeadlineTimer deadline(kBusLimitMs);
    QStringList lines = ReadLines(path);
    while (lines.size() < count && !deadline.hasExpired()) {
        SpinEventLoop(20);
        lines = ReadLines(path);
    }
    return lines;
}

// Ends a process started by a test: asked first, killed when it does not go.
inline void StopProcess(QProcess& p) {
    if (p.state() == QProcess::NotRunning)
        return;
    p.terminate();
    if (!p.waitForFinished(kBusLimitMs)) {
        p.kill();
        p.waitForFinished();
    }
}

// Reads the process's standard output until it holds want (or the process
// ends, or the limit passes); returns what it read.
inline QByteArray ReadUntil(QProcess& p, const QByteArray& want) {
    QDeadlineTimer deadline(kBusLimitMs);
    QByteArray out;
    while (!out.contains(want) && !deadline.hasExpired() && p.state() == QProcess::Running) {
        p.waitForReadyRead(100);
        out += p.readAllStandardOutput();
    }
    return out;
}

class PrivateBus {
public:
    enum class Kind { System, Session };

    PrivateBus() = default;
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;
    ~PrivateBus() { Stop(); }

    static QString Daemon() {
        return QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    }

    // Starts the daemon with its configuration and socket in folder; empty
    // when the bus is up, else what went wrong.
    QString Start(Kind kind, const QString& folder) {
        QFile in(QStringLiteral(SENTINAX_TEST_BUS_CONFIG));
        if (!in.open(QIODevice::ReadOnly))
            return QStringLiteral("cannot read ") + in.fileName();
        const QString type =
            kind == Kind::System ? QStringLiteral("system") : QStringLiteral("session");
        const QString config = folder + QLatin1Char('/') + type + QStringLiteral(".conf");
        QFile out(config);
        if (!out.open(QIODevice::WriteOnly))
            return QStringLiteral("cannot write ") + config;
        out.write(QString::fromUtf8(in.readAll())
                      .replace(QStringLiteral("@TYPE@"), type)
                      .replace(QStringLiteral("@SOCKET@"), folder + QStringLiteral("/bus"))
                      .toUtf8());
        out.close();
        daemon_.start(Daemon(), {QStringLiteral("--config-file=") + config,
                                 QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
        if (!daemon_.waitForStarted(kBusLimitMs))
            return QStringLiteral("dbus-daemon did not start");
        address_ = QString::fromUtf8(ReadUntil(daemon_, "\n")).trimmed();
        if (address_.isEmpty())
            return QStringLiteral("no bus address: ") +
                   QString::fromLocal8Bit(daemon_.readAllStandardError());
        return {};
    }
    void Stop() { StopProcess(daemon_); }

    // The address to connect to ("unix:path=...,guid=...").
    const QString& Address() const { return address_; }

    // Starts program with arguments, its bus variable (DBUS_SYSTEM_BUS_ADDRESS
    // or DBUS_SESSION_BUS_ADDRESS) naming this bus, and waits for its "ready"
    // line; empty when it is ready, else what went wrong.
    QString StartHelper(QProcess& helper, const char* busVariable, const QString& program,
                        const QStringList& arguments) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(busVariable), address_);
        helper.setProcessEnvironment(env);
        helper.start(program, arguments);
        if (!helper.waitForStarted(kBusLimitMs))
            return program + QStringLiteral(" did not start");
        if (!ReadUntil(helper, "ready\n").contains("ready\n"))
            return program + QStringLiteral(" never got ready: ") +
                   QString::fromLocal8Bit(helper.readAllStandardError());
        return {};
    }

private:
    QProcess daemon_;
    QString address_;
};

} // namespace sentinax::test
