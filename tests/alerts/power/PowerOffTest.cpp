// ShutdownSystem: the command that replaces the request, and the logind
// request on a private bus with a fake logind. Nothing here may reach the
// machine's own power-off: this process never uses the real system bus (see
// below), and the D-Bus cases run ShutdownSystem in a child process bound to a
// bus the test started itself.
#include "alerts/power/PowerOff.h"

#include "PrivateSystemBus.h"

namespace sentinax {
namespace {

using namespace test;

TEST(PowerOffCommand, RunsTheCommandThroughTheShellExactlyOnce) {
    ASSERT_TRUE(kSystemBusFenced);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString record = dir.filePath(QStringLiteral("record"));
    const QString script = WriteRecorder(dir, record);
    // Quoting and an argument: the value is a shell command line, not a path.
    ScopedEnv command(kPowerOffCommandVariable,
                      QStringLiteral("'%1' now").arg(script).toLocal8Bit().constData());

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
