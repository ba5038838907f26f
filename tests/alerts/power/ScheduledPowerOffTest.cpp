// logind's scheduled power-off, run against the fake logind on a private
// system bus (the adapter is handed a connection to that bus, never the
// machine's own): scheduled and cancelled by an administrator, replaced, left
// to run out, given up by logind, refused, without logind, and withdrawn when
// the monitor ends. Times are shortened; what the adapter decides is the same.
#include "alerts/power/ScheduledPowerOff.h"

#include "PrivateSystemBus.h"

#include <QDBusMessage>
#include <QDateTime>
#include <functional>
#include <vector>

namespace sentinax {
namespace {

using namespace test;
using std::chrono::milliseconds;

struct Said {
    MessagePriority priority;
    std::string text;
};

uint64_t NowUsec() {
    return static_cast<uint64_t>(QDateTime::currentMSecsSinceEpoch()) * 1000;
}

class ScheduledPowerOffTest : public PrivateSystemBus {
protected:
    void TearDown() override {
        QDBusConnection::disconnectFromBus(QStringLiteral("sx-monitor"));
        QDBusConnection::disconnectFromBus(QStringLiteral("sx-admin"));
        PrivateSystemBus::TearDown();
    }

public:
    // A call to the fake logind as an administrator's tool would make it.
    QDBusMessage Admin(const char* method, const QVariantList& args = {}) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
            QStringLiteral("org.freedesktop.login1.Manager"), QString::fromLatin1(method));
        call.setArguments(args);
        return QDBusConnection::connectToBus(address_, QStringLiteral("sx-admin"))
            .call(call, QDBus::Block, kLimitMs);
    }

protected:
    // Runs one countdown; `during` runs atMs after the start, from a timer
    // inside the countdown's loop (where the monitor's ticks run too).
    bool RunCountdown(ScheduledPowerOff::Timing timing, int atMs = -1,
                      std::function<void(ScheduledPowerOff&)> during = {}) {
        ScheduledPowerOff countdown(
            QDBusConnection::connectToBus(address_, QStringLiteral("sx-monitor")),
            [this](MessagePriority p, const std::string& text) {
                said_.push_back({p, text});
            },
            timing);
        bool ran = false;
        if (during)
            QTimer::singleShot(atMs, [&] {
                ran = true;
                during(countdown);
            });
        started_ = NowUsec();
        const bool powerOff = countdown.Run();
        finished_ = NowUsec();
        EXPECT_TRUE(!during || ran) << "the countdown ended before its action";
        EXPECT_FALSE(countdown.Running());
        return powerOff;
    }

    // The fake's record, each ScheduleShutdown's time checked and replaced by "<t>".
    std::string Calls(milliseconds countdown) {
        QStringList lines = ReadLines(record_);
        for (QString& line : lines) {
            if (!line.startsWith(QLatin1String("ScheduleShutdown poweroff ")))
                continue;
            const uint64_t usec = line.section(QLatin1Char(' '), 2).toULongLong();
            const uint64_t expected = started_ + static_cast<uint64_t>(countdown.count()) * 1000;
            EXPECT_LT(usec > expected ? usec - expected : expected - usec, 500000u) << "now + 30 s";
            line = QStringLiteral("ScheduleShutdown poweroff <t>");
        }
        return lines.join(QLatin1Char('|')).toStdString();
    }

    bool SaidAt(MessagePriority p, const std::string& part) const {
        for (const Said& s : said_) {
            if (s.priority == p && s.text.find(part) != std::string::npos)
                return true;
        }
        return false;
    }

    std::vector<Said> said_;
    uint64_t started_ = 0;
    uint64_t finished_ = 0;
};

constexpr ScheduledPowerOff::Timing kQuick{milliseconds(1500), milliseconds(600), milliseconds(100),
                                           milliseconds(2000)};
const std::string kScheduled =
    "SetWallMessage Sentinax 4: CPU temperature abnormal, the system powers off (shutdown -c "
    "cancels) true|ScheduleShutdown poweroff <t>";

// What logind does with the schedule decides the outcome; every message says
// what happens next, at the priority the journal files it under.
TEST_F(ScheduledPowerOffTest, OutcomesOfTheScheduleAtLogind) {
    struct Case {
        const char* why;
        const char* mode;
        int atMs;
        std::function<void(ScheduledPowerOffTest&, ScheduledPowerOff&)> action;
        bool powerOff;
        std::string calls; // after kScheduled
        MessagePriority priority;
        const char* said;
    };
    const std::vector<Case> cases = {
        {"an administrator runs shutdown -c: the dialog's Cancel", "normal", 500,
         [](ScheduledPowerOffTest& t, ScheduledPowerOff&) { t.Admin("CancelScheduledShutdown"); },
         false, "|CancelScheduledShutdown true", MessagePriority::Warning,
         "cancelled (shutdown -c)"},
        {"someone schedules a reboot instead: theirs stands, ours ends", "normal", 500,
         [](ScheduledPowerOffTest& t, ScheduledPowerOff&) {
             t.Admin("ScheduleShutdown", {QStringLiteral("reboot"),
                                          QVariant::fromValue<qulonglong>(NowUsec() + 600000000)});
         },
         false, "|ScheduleShutdown reboot", MessagePriority::Warning, "replaced by a reboot"},
        {"the monitor ends first: it withdraws its schedule", "normal", 500,
         [](ScheduledPowerOffTest&, ScheduledPowerOff& c) { c.Cancel(); }, false,
         "|CancelScheduledShutdown true", MessagePriority::Notice, "withdrawn"},
        {"the monitor ends after the time came: logind's power-off is left alone", "normal", 1800,
         [](ScheduledPowerOffTest&, ScheduledPowerOff& c) { c.Cancel(); }, false,
         "|elapsed poweroff", MessagePriority::Critical, "powers off at"},
        {"logind keeps it past its time and the grace: the monitor asks itself",
         "normal",
         -1,
         {},
         true,
         "|elapsed poweroff",
         MessagePriority::Critical,
         "has not powered the system off"},
        {"logind holds it past its time, then drops it: the monitor asks itself",
         "hold-then-give-up",
         -1,
         {},
         true,
         "|gave up poweroff",
         MessagePriority::Critical,
         "gave up the scheduled power-off"},
        {"dropped right at its time: a late cancel or a failure, never overridden",
         "give-up",
         -1,
         {},
         false,
         "|gave up poweroff",
         MessagePriority::Warning,
         "gone at its time"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        QFile::remove(record_);
        said_.clear();
        StartFakeLogind(QString::fromLatin1(c.mode));
        std::function<void(ScheduledPowerOff&)> during;
        if (c.action)
            during = [&](ScheduledPowerOff& countdown) { c.action(*this, countdown); };
        const bool powerOff = RunCountdown(kQuick, c.atMs, during);
        EXPECT_EQ(powerOff, c.powerOff);
        SpinEventLoop(200); // a late call would be recorded by now
        std::string calls = Calls(kQuick.Countdown);
        if (c.calls.rfind("|ScheduleShutdown reboot", 0) == 0) // its time varies
            calls = calls.substr(0, calls.rfind(' '));
        EXPECT_EQ(calls, kScheduled + c.calls);
        EXPECT_TRUE(SaidAt(MessagePriority::Critical, "powers off at")) << "the start is said";
        EXPECT_TRUE(SaidAt(c.priority, c.said));
        StopProcess(logind_);
    }
}

// Without a logind that takes it, the monitor counts down itself and says
// so; the countdown keeps its 30 s (here 1.5 s) from the start.
TEST_F(ScheduledPowerOffTest, RefusedOrMissingLogindLeavesTheMonitorsOwnCountdown) {
    for (const bool present : {true, false}) {
        SCOPED_TRACE(present ? "logind refuses" : "no logind on the bus");
        QFile::remove(record_);
        said_.clear();
        if (present)
            StartFakeLogind(QStringLiteral("refuse"));
        EXPECT_TRUE(RunCountdown(kQuick));
        EXPECT_GE(finished_ - started_, 1400000u);
        EXPECT_EQ(Calls(kQuick.Countdown), present ? kScheduled : "");
        EXPECT_TRUE(SaidAt(MessagePriority::Error,
                           present ? "AccessDenied" : "org.freedesktop.DBus.Error.ServiceUnknown"));
        EXPECT_TRUE(SaidAt(MessagePriority::Error, "powers the system off itself in 2 s"));
        EXPECT_TRUE(SaidAt(MessagePriority::Critical, "the countdown ran out"));
        StopProcess(logind_);
    }
}

// Without any system bus the same: said, and the countdown still ends.
TEST(ScheduledPowerOffWithoutBus, CountsDownItself) {
    ASSERT_TRUE(kSystemBusFenced);
    std::vector<Said> said;
    ScheduledPowerOff countdown(
        QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/sx-no-bus"),
                                      QStringLiteral("sx-nobus")),
        [&](MessagePriority p, const std::string& text) {
            said.push_back({p, text});
        },
        kQuick);
    EXPECT_TRUE(countdown.Run());
    ASSERT_EQ(said.size(), 2u);
    EXPECT_NE(said[0].text.find("no system bus"), std::string::npos) << said[0].text;
    QDBusConnection::disconnectFromBus(QStringLiteral("sx-nobus"));
}

} // namespace
} // namespace sentinax
