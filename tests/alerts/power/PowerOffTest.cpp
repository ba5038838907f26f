// ShutdownSystem: the command that replaces the request, and the logind
// request on a private bus with a fake logind. Nothing here may reach the
// machine's own power-off: this process never uses the real system bus (see
// below), and the D-Bus cases run ShutdownSystem in a child process bound to a
// bus the test started itself.
#include "alerts/ui/PowerOff.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>

namespace sentinax {
namespace {

// Before anything in this binary can touch D-Bus, point the system bus at a
// socket that does not exist: a fault in a test below can then never reach
// the real logind.
const bool kSystemBusFenced = [] {
    setenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/sentinax-test-fence", 1);
    return true;
}();

constexpr int kLimitMs = 20000; // generous: only a broken build ever waits this long

void SpinEventLoop(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

QStringList ReadLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// Waits until path holds at least count lines; returns what it holds then.
QStringList WaitForLines(const QString& path, int count) {
    QDeadlineTimer deadline(kLimitMs);
    QStringList lines = ReadLines(path);
    while (lines.size() < count && !deadline.hasExpired()) {
        SpinEventLoop(20);
        lines = ReadLines(path);
    }
    return lines;
}

// A recorder script that appends "called <arguments>" to a file.
QString WriteRecorder(const QTemporaryDir& dir, const QString& record) {
    const QString script = dir.filePath(QStringLiteral("recorder.sh"));
    QFile file(script);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("#!/bin/sh\necho \"called $*\" >> '%1'\n").arg(record).toUtf8());
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return script;
}

class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = QByteArray(old);
        }
        setenv(name, value.constData(), 1);
    }
    ~ScopedEnv() {
        if (old_) {
            setenv(name_, old_->constData(), 1);
        } else {
            unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::optional<QByteArray> old_;
};

TEST(PowerOffCommand, RunsTheCommandThroughTheShellExactlyOnce) {
    ASSERT_TRUE(kSystemBusFenced);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString record = dir.filePath(QStringLiteral("record"));
    const QString script = WriteRecorder(dir, record);
    // Quoting and an argument: the value is a shell command line, not a path.
    ScopedEnv command(kPowerOffCommandVariable,
                      QStringLiteral("'%1' now").arg(script).toLocal8Bit());

    ShutdownSystem();

    QStringList lines = WaitForLines(record, 1);
    SpinEventLoop(200); // a second start would show up by now
    lines = ReadLines(record);
    EXPECT_EQ(lines.join(QLatin1Char('|')).toStdString(), "called now");
}

// The client runs ShutdownSystem once on the bus at address and prints
// "returned"; it then stays connected until its input closes.
class PowerOffClient {
public:
    bool Start(const QString& address, const std::optional<QString>& command = std::nullopt) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), address);
        env.remove(QString::fromLatin1(kPowerOffCommandVariable));
        if (command) {
            env.insert(QString::fromLatin1(kPowerOffCommandVariable), *command);
        }
        process_.setProcessEnvironment(env);
        process_.start(QStringLiteral(SENTINAX_POWEROFF_CLIENT), {});
        return process_.waitForStarted(kLimitMs);
    }
    // True once the client has printed "returned".
    bool WaitReturned() {
        QDeadlineTimer deadline(kLimitMs);
        while (!output_.contains("returned\n") && !deadline.hasExpired()) {
            process_.waitForReadyRead(100);
            output_ += process_.readAllStandardOutput();
        }
        return output_.contains("returned\n");
    }
    // Closes its input, waits for its exit; its exit code (-1 when it hung).
    int Finish() {
        process_.closeWriteChannel();
        if (!process_.waitForFinished(kLimitMs)) {
            process_.kill();
            process_.waitForFinished();
            return -1;
        }
        return process_.exitCode();
    }
    QByteArray Errors() { return process_.readAllStandardError(); }

private:
    QProcess process_;
    QByteArray output_;
};

// A dbus-daemon of our own with a system-bus-like policy, in a temp dir.
class PrivateSystemBus : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(kSystemBusFenced);
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty()) {
            GTEST_SKIP() << "dbus-daemon not installed";
        }
        ASSERT_TRUE(dir_.isValid());
        record_ = dir_.filePath(QStringLiteral("logind-calls"));
        const QString config = dir_.filePath(QStringLiteral("system.conf"));
        QFile file(config);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(
            QStringLiteral(
                R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=%1</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_destination="*"/>
    <allow receive_sender="*"/>
  </policy>
</busconfig>
)")
                .arg(dir_.filePath(QStringLiteral("bus")))
                .toUtf8());
        file.close();

        bus_.start(daemon, {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                            QStringLiteral("--print-address=1")});
        ASSERT_TRUE(bus_.waitForStarted(kLimitMs));
        QDeadlineTimer deadline(kLimitMs);
        QByteArray out;
        while (!out.contains('\n') && !deadline.hasExpired() && bus_.state() == QProcess::Running) {
            bus_.waitForReadyRead(100);
            out += bus_.readAllStandardOutput();
        }
        address_ = QString::fromUtf8(out).trimmed();
        ASSERT_FALSE(address_.isEmpty()) << bus_.readAllStandardError().constData();
    }

    void TearDown() override {
        for (QProcess* p : {&logind_, &bus_}) {
            if (p->state() != QProcess::NotRunning) {
                p->terminate();
                if (!p->waitForFinished(kLimitMs)) {
                    p->kill();
                    p->waitForFinished();
                }
            }
        }
    }

    void StartFakeLogind() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), address_);
        logind_.setProcessEnvironment(env);
        logind_.start(QStringLiteral(SENTINAX_FAKE_LOGIND), {record_});
        ASSERT_TRUE(logind_.waitForStarted(kLimitMs));
        QDeadlineTimer deadline(kLimitMs);
        QByteArray out;
        while (!out.contains("ready\n") && !deadline.hasExpired() &&
               logind_.state() == QProcess::Running) {
            logind_.waitForReadyRead(100);
            out += logind_.readAllStandardOutput();
        }
        ASSERT_TRUE(out.contains("ready\n")) << logind_.readAllStandardError().constData();
    }

    QTemporaryDir dir_;
    QString record_;
    QString address_;
    QProcess bus_;
    QProcess logind_;
};

TEST_F(PrivateSystemBus, AsksLogindOnceToPowerOffWithoutAPrompt) {
    StartFakeLogind();
    PowerOffClient client;
    // An empty command does not count as a replacement.
    ASSERT_TRUE(client.Start(address_, QString()));
    ASSERT_TRUE(client.WaitReturned());
    QStringList calls = WaitForLines(record_, 1);
    EXPECT_EQ(client.Finish(), 0);
    SpinEventLoop(200); // anything still on the bus arrives by now
    calls = ReadLines(record_);
    EXPECT_EQ(calls.join(QLatin1Char('|')).toStdString(), "PowerOff false");
    EXPECT_EQ(client.Errors().toStdString(), "");
}

TEST_F(PrivateSystemBus, WithTheCommandSetLogindIsNotAsked) {
    StartFakeLogind();
    const QString recorded = dir_.filePath(QStringLiteral("command-calls"));
    const QString script = WriteRecorder(dir_, recorded);
    PowerOffClient client;
    ASSERT_TRUE(client.Start(address_, QStringLiteral("'%1'").arg(script)));
    ASSERT_TRUE(client.WaitReturned());
    EXPECT_EQ(WaitForLines(recorded, 1).size(), 1);
    EXPECT_EQ(client.Finish(), 0);
    SpinEventLoop(200);
    EXPECT_EQ(ReadLines(record_).join(QLatin1Char('|')).toStdString(), "");
}

TEST_F(PrivateSystemBus, WithoutLogindReturnsSilently) {
    PowerOffClient client;
    ASSERT_TRUE(client.Start(address_));
    EXPECT_TRUE(client.WaitReturned());
    EXPECT_EQ(client.Finish(), 0);
    EXPECT_EQ(client.Errors().toStdString(), "");
}

TEST(PowerOffWithoutBus, ReturnsSilently) {
    ASSERT_TRUE(kSystemBusFenced);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    PowerOffClient client;
    ASSERT_TRUE(client.Start(QStringLiteral("unix:path=") + dir.filePath(QStringLiteral("none"))));
    EXPECT_TRUE(client.WaitReturned());
    EXPECT_EQ(client.Finish(), 0);
    EXPECT_EQ(client.Errors().toStdString(), "");
}

} // namespace
} // namespace sentinax
