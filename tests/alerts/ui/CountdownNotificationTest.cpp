// The countdown's desktop notification on a private session bus with a fake
// notification service: what Notify carries, that "Cancel" reaches the
// monitor, that the notification is withdrawn, and that a hung or missing
// service never holds the caller up.
#include "alerts/ui/CountdownNotification.h"
#include "PrivateBus.h"

#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdio>

namespace sentinax {
namespace {

using test::ReadLines;
using test::SpinEventLoop;

// Spins until pred holds or the limit passes; returns pred's last answer.
template <typename Pred> bool SpinUntil(Pred pred) {
    QDeadlineTimer deadline(test::kBusLimitMs);
    while (!pred() && !deadline.hasExpired())
        SpinEventLoop(20);
    return pred();
}

// A session bus of our own (a socket in a temporary folder) and the fake
// service on it, in one of its modes.
class PrivateSessionBus : public testing::Test {
protected:
    void SetUp() override {
        if (test::PrivateBus::Daemon().isEmpty())
            GTEST_SKIP() << "dbus-daemon not installed";
        ASSERT_TRUE(dir_.isValid());
        record_ = dir_.filePath(QStringLiteral("calls"));
        const QString error = bus_.Start(test::PrivateBus::Kind::Session, dir_.path());
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();
        address_ = bus_.Address();
    }
    void TearDown() override {
        QDBusConnection::disconnectFromBus(QStringLiteral("sx-test-session"));
        test::StopProcess(service_);
        bus_.Stop();
    }
    void StartService(const QString& mode) {
        const QString error =
            bus_.StartHelper(service_, "DBUS_SESSION_BUS_ADDRESS",
                             QStringLiteral(SENTINAX_FAKE_NOTIFICATIONS), {record_, mode});
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    }
    QDBusConnection Bus() {
        return QDBusConnection::connectToBus(address_, QStringLiteral("sx-test-session"));
    }
    bool Recorded(const QString& prefix) {
        for (const QString& line : ReadLines(record_)) {
            if (line.startsWith(prefix))
                return true;
        }
        return false;
    }

    QTemporaryDir dir_;
    QString record_;
    QString address_;
    test::PrivateBus bus_;
    QProcess service_;
};

TEST_F(PrivateSessionBus, AnnouncesWithCriticalUrgencyAndACancelActionThenWithdraws) {
    StartService(QStringLiteral("answer"));
    CountdownNotification notice(Bus(), nullptr);
    ASSERT_TRUE(notice.Available());
    notice.Show(QStringLiteral("System Protection"), QStringLiteral("CPU temperature abnormal !"));
    ASSERT_TRUE(SpinUntil([&] { return Recorded(QStringLiteral("Notify")); }));
    EXPECT_EQ(ReadLines(record_).value(0).toStdString(),
              "Notify app=Sentinax4 summary=System Protection urgency=2/uchar "
              "actions=cancel,Cancel timeout=0 id=1");
    SpinEventLoop(200); // the answer (id 1) arrives
    notice.Close();
    EXPECT_TRUE(SpinUntil([&] { return Recorded(QStringLiteral("CloseNotification 1")); }));
    notice.Close(); // nothing more to withdraw
    SpinEventLoop(200);
    EXPECT_EQ(ReadLines(record_).size(), 2);
}

TEST_F(PrivateSessionBus, CancelOnTheNotificationReachesTheMonitorOnce) {
    StartService(QStringLiteral("cancel-after=150"));
    CountdownNotification notice(Bus(), nullptr);
    int cancels = 0;
    QObject::connect(&notice, &CountdownNotification::cancelRequested, [&] { ++cancels; });
    notice.Show(QStringLiteral("System Protection"), QStringLiteral("body"));
    ASSERT_TRUE(SpinUntil([&] { return cancels > 0; }));
    SpinEventLoop(300);
    EXPECT_EQ(cancels, 1);

    // A click on a notification that is no longer ours is not a cancel.
    notice.Close();
    notice.Show(QStringLiteral("System Protection"), QStringLiteral("body"));
    notice.Close(); // withdrawn before the service answered or anyone clicked
    SpinEventLoop(600);
    EXPECT_EQ(cancels, 1);
}

// The countdown ends before the service answers: the answer's notification is
// withdrawn when it comes.
TEST_F(PrivateSessionBus, ALateAnswerIsWithdrawnWhenItComes) {
    StartService(QStringLiteral("answer-after=400"));
    CountdownNotification notice(Bus(), nullptr);
    notice.Show(QStringLiteral("System Protection"), QStringLiteral("body"));
    notice.Close();
    EXPECT_TRUE(SpinUntil([&] { return Recorded(QStringLiteral("CloseNotification 1")); }));
}

// A service that takes the call and never answers: Show and Close return at
// once and the event loop goes on (a timer keeps firing) while the calls wait
// for their timeout.
TEST_F(PrivateSessionBus, AHungServiceNeverHoldsTheCallerUp) {
    StartService(QStringLiteral("silent"));
    CountdownNotification notice(Bus(), nullptr);
    int fired = 0;
    QTimer beat;
    QObject::connect(&beat, &QTimer::timeout, [&] { ++fired; });
    beat.start(50);
    QElapsedTimer clock;
    clock.start();
    notice.Show(QStringLiteral("System Protection"), QStringLiteral("body"));
    notice.Close();
    const qint64 callMs = clock.elapsed();
    ASSERT_TRUE(SpinUntil([&] { return Recorded(QStringLiteral("Notify")); }));
    SpinEventLoop(CountdownNotification::kCallTimeoutMs + 500); // past the call's timeout
    std::printf("Show and Close with a hung service took %lld ms; %d beats in %lld ms\n",
                static_cast<long long>(callMs), fired, static_cast<long long>(clock.elapsed()));
    // Generous bound: the calls return without waiting for any answer.
    EXPECT_LT(callMs, 1000);
    EXPECT_GT(fired, 10) << "the event loop stalled";
    EXPECT_FALSE(Recorded(QStringLiteral("CloseNotification"))) << "no id was ever given";
}

TEST(CountdownNotificationWithoutBus, DoesNothing) {
    CountdownNotification notice(QDBusConnection(QStringLiteral("sx-no-such-bus")), nullptr);
    EXPECT_FALSE(notice.Available());
    notice.Show(QStringLiteral("System Protection"), QStringLiteral("body"));
    notice.Close();
}

} // namespace
} // namespace sentinax
