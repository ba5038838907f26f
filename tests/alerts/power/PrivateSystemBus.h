// What the power-off tests share: a fence that keeps this process off the
// machine's own system bus, waiting for lines in record files, and a private
// system bus (a dbus-daemon of our own) with the fake logind on it.
#pragma once

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

namespace sentinax::test {

// Before anything in this binary can touch D-Bus, point the system bus at a
// socket that does not exist: a fault in a test below can then never reach
// the real logind.
inline const bool kSystemBusFenced = [] {
    setenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/sentinax-test-fence", 1);
    return true;
}();

inline constexpr int kLimitMs = 20000; // generous: only a broken build ever waits this long

inline void SpinEventLoop(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

inline QStringList ReadLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// Waits until path holds at least count lines; returns what it holds then.
inline QStringList WaitForLines(const QString& path, int count) {
    QDeadlineTimer deadline(kLimitMs);
    QStringList lines = ReadLines(path);
    while (lines.size() < count && !deadline.hasExpired()) {
        SpinEventLoop(20);
        lines = ReadLines(path);
    }
    return lines;
}

// A recorder script that appends "called <arguments>" to a file.
inline QString WriteRecorder(const QTemporaryDir& dir, const QString& record) {
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
        for (QProcess* p : {&logind_, &bus_})
            Stop(*p);
    }

    static void Stop(QProcess& p) {
        if (p.state() != QProcess::NotRunning) {
            p.terminate();
            if (!p.waitForFinished(kLimitMs)) {
                p.kill();
                p.waitForFinished();
            }
        }
    }

    // mode: see tests/alerts/power/FakeLogind.cpp.
    void StartFakeLogind(const QString& mode = QStringLiteral("normal")) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), address_);
        logind_.setProcessEnvironment(env);
        logind_.start(QStringLiteral(SENTINAX_FAKE_LOGIND), {record_, mode});
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

} // namespace sentinax::test
