// What the power-off tests share: a fence that keeps this process off the
// machine's own system bus, waiting for lines in record files, and a private
// system bus (a dbus-daemon of our own) with the fake logind on it.
#pragma once

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdlib>
#include <gtest/gtest.h>

#include "PrivateBus.h"
#include "ScopedEnv.h"

namespace sentinax::test {

// Before anything in this binary can touch D-Bus, point the system bus at a
// socket that does not exist: a fault in a test below can then never reach
// the real logind.
inline const bool kSystemBusFenced = [] {
    setenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/sentinax-test-fence", 1);
    return true;
}();

inline constexpr int kLimitMs = kBusLimitMs;

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

// A dbus-daemon of our own with a system-bus-like policy, in a temp dir.
class PrivateSystemBus : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(kSystemBusFenced);
        if (PrivateBus::Daemon().isEmpty()) {
            GTEST_SKIP() << "dbus-daemon not installed";
        }
        ASSERT_TRUE(dir_.isValid());
        record_ = dir_.filePath(QStringLiteral("logind-calls"));
        const QString error = bus_.Start(PrivateBus::Kind::System, dir_.path());
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();
        address_ = bus_.Address();
    }

    void TearDown() override {
        StopProcess(logind_);
        bus_.Stop();
    }

    // mode: see tests/alerts/power/FakeLogind.cpp.
    void StartFakeLogind(const QString& mode = QStringLiteral("normal")) {
        const QString error =
            bus_.StartHelper(logind_, "DBUS_SYSTEM_BUS_ADDRESS",
                             QStringLiteral(SENTINAX_FAKE_LOGIND), {record_, mode});
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    }

    QTemporaryDir dir_;
    QString record_;
    QString address_;
    PrivateBus bus_;
    QProcess logind_;
};

} // namespace sentinax::test
