#include "alerts/power/ScheduledPowerOff.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QDateTime>
#include <QEventLoop>
#include <QTimer>

namespace sentinax {

namespace {

const char* const kLogind = "org.freedesktop.login1";
const char* const kLogindPath = "/org/freedesktop/login1";
const char* const kManager = "org.freedesktop.login1.Manager";
const char* const kWallMessage = "Sentinax 4: CPU temperature abnormal, the system powers off "
                                 "(shutdown -c cancels)";

uint64_t NowUsec() {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                     std::chrono::system_clock::now().time_since_epoch())
                                     .count());
}

// The local time of day of a logind time, as the wall message shows it.
std::string Clock(uint64_t usec) {
    return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(usec / 1000))
        .toString(QStringLiteral("HH:mm:ss"))
        .toStdString();
}

std::string Seconds(std::chrono::milliseconds ms) {
    return std::to_string((ms.count() + 999) / 1000) + " s";
}

QDBusMessage ManagerCall(const char* method) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QString::fromLatin1(kLogind), QString::fromLatin1(kLogindPath),
        QString::fromLatin1(kManager), QString::fromLatin1(method));
    // Decided by policy at once: nobody may be there to answer a prompt.
    call.setInteractiveAuthorizationAllowed(false);
    return call;
}

std::string Describe(const QDBusError& error) {
    if (error.type() == QDBusError::NoReply)
        return "no answer within the time allowed";
    return error.name().toStdString() + ": " + error.message().toStdString();
}

// The (st) value of logind's ScheduledShutdown from a Properties.Get reply.
std::optional<ScheduledShutdown> ParseSchedule(const QDBusMessage& reply) {
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1)
        return std::nullopt;
    const QVariant value = reply.arguments().front().value<QDBusVariant>().variant();
    if (!value.canConvert<QDBusArgument>())
        return std::nullopt;
    const QDBusArgument arg = value.value<QDBusArgument>();
    if (arg.currentSignature() != QLatin1String("(st)"))
        return std::nullopt;
    QString type;
    qulonglong usec = 0;
    arg.beginStructure();
    arg >> type >> usec;
    arg.endStructure();
    return ScheduledShutdown{type.toStdString(), usec};
}

} // namespace

ScheduledPowerOff::ScheduledPowerOff(QDBusConnection bus, Reporter report, Timing timing,
                                     QObject* parent)
    : QObject(parent), bus_(std::move(bus)), report_(std::move(report)), timing_(timing),
      own_(new QTimer(this)), poll_(new QTimer(this)) {
    own_->setSingleShot(true);
    connect(own_, &QTimer::timeout, this, [this] {
        report_(MessagePriority::Critical, "the countdown ran out: powering the system off");
        Finish(true);
    });
    poll_->setInterval(timing_.Poll);
    connect(poll_, &QTimer::timeout, this, &ScheduledPowerOff::PollSchedule);
}

ScheduledPowerOff::~ScheduledPowerOff() = default;

bool ScheduledPowerOff::Run() {
    if (loop_)
        return false; // one countdown at a time
    QEventLoop loop;
    loop_ = &loop;
    ++run_; // answers to an earlier countdown's calls are not this one's
    result_ = false;
    scheduling_ = false;
    polling_ = false;
    const uint64_t at =
        NowUsec() +
        static_cast<uint64_t>(
            std::chrono::duration_cast<std::chrono::microseconds>(timing_.Countdown).count());
    watch_.emplace(ScheduledShutdown{"poweroff", at},
                   std::chrono::duration_cast<std::chrono::microseconds>(timing_.Grace).count());
    if (!bus_.isConnected()) {
        RunOwnCountdown("no system bus (" + bus_.lastError().message().toStdString() + ")");
    } else {
        // logind tells the users with the wall message it holds when the
        // schedule is made: the schedule waits for the message's answer (the
        // schedule goes out without it when logind refuses the message).
        QDBusMessage wall = ManagerCall("SetWallMessage");
        wall << QString::fromLatin1(kWallMessage) << true;
        scheduling_ = true;
        auto* said = new QDBusPendingCallWatcher(
            bus_.asyncCall(wall, static_cast<int>(timing_.CallTimeout.count())), this);
        connect(said, &QDBusPendingCallWatcher::finished, this,
                [this, run = run_, at](QDBusPendingCallWatcher* w) {
                    w->deleteLater();
                    if (run == run_ && loop_ && scheduling_)
                        Schedule(at);
                });
    }
    loop.exec();
    own_->stop();
    poll_->stop();
    loop_ = nullptr;
    watch_.reset();
    return result_;
}

void ScheduledPowerOff::Schedule(uint64_t at) {
    QDBusMessage schedule = ManagerCall("ScheduleShutdown");
    schedule << QStringLiteral("poweroff") << QVariant::fromValue<qulonglong>(at);
    auto* call = new QDBusPendingCallWatcher(
        bus_.asyncCall(schedule, static_cast<int>(timing_.CallTimeout.count())), this);
    connect(call, &QDBusPendingCallWatcher::finished, this,
            [this, run = run_](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                if (run == run_)
                    OnScheduled(w);
            });
}

void ScheduledPowerOff::OnScheduled(QDBusPendingCallWatcher* call) {
    if (!loop_ || !scheduling_)
        return; // the countdown ended meanwhile
    scheduling_ = false;
    const QDBusPendingReply<> reply = *call;
    if (reply.isError()) {
        // A request that got no answer may still be carried out; a countdown
        // of our own then powers off all the same, which is the safe side.
        RunOwnCountdown("logind did not schedule the power-off (" + Describe(reply.error()) + ")");
        return;
    }
    const uint64_t at = watch_->Ours().Usec;
    report_(MessagePriority::Critical, "CPU temperature abnormal: the system powers off at " +
                                           Clock(at) + " (in " + Seconds(timing_.Countdown) +
                                           "), scheduled with logind; `shutdown -c` cancels it");
    poll_->start();
}

void ScheduledPowerOff::RunOwnCountdown(const std::string& why) {
    const uint64_t at = watch_->Ours().Usec;
    watch_.reset(); // nothing at logind to watch or to withdraw
    const uint64_t now = NowUsec();
    const auto left = std::chrono::milliseconds(at > now ? (at - now + 999) / 1000 : 0);
    report_(MessagePriority::Error, why + ": the monitor powers the system off itself in " +
                                        Seconds(left) + " (stopping the monitor prevents it)");
    own_->start(left);
}

void ScheduledPowerOff::PollSchedule() {
    if (polling_ || !watch_)
        return;
    polling_ = true;
    QDBusMessage get = QDBusMessage::createMethodCall(
        QString::fromLatin1(kLogind), QString::fromLatin1(kLogindPath),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << QString::fromLatin1(kManager) << QStringLiteral("ScheduledShutdown");
    auto* call = new QDBusPendingCallWatcher(
        bus_.asyncCall(get, static_cast<int>(timing_.CallTimeout.count())), this);
    connect(call, &QDBusPendingCallWatcher::finished, this,
            [this, run = run_](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                if (run == run_)
                    OnPolled(w);
            });
}

void ScheduledPowerOff::OnPolled(QDBusPendingCallWatcher* call) {
    polling_ = false;
    if (!loop_ || !watch_)
        return;
    const std::optional<ScheduledShutdown> seen = ParseSchedule(call->reply());
    switch (watch_->Seen(seen, NowUsec())) {
    case ScheduleVerdict::Pending:
        return;
    case ScheduleVerdict::Overdue:
        report_(MessagePriority::Critical,
                "logind has not powered the system off " + Seconds(timing_.Grace) +
                    " after the scheduled time: the monitor asks for the power-off itself");
        Finish(true);
        return;
    case ScheduleVerdict::Failed:
        report_(MessagePriority::Critical, "logind gave up the scheduled power-off at its time: "
                                           "the monitor asks for the power-off itself");
        Finish(true);
        return;
    case ScheduleVerdict::Cancelled:
        report_(MessagePriority::Warning,
                "the scheduled power-off was cancelled (shutdown -c); monitoring goes on");
        Finish(false);
        return;
    case ScheduleVerdict::Gone:
        report_(MessagePriority::Warning,
                "the scheduled power-off is gone at its time (cancelled with shutdown -c just "
                "before, or given up by logind for another shutdown or sleep under way); "
                "monitoring goes on");
        Finish(false);
        return;
    case ScheduleVerdict::Replaced:
        report_(MessagePriority::Warning, "the scheduled power-off was replaced by a " +
                                              seen->Type + " at " + Clock(seen->Usec) +
                                              "; the monitor leaves the machine to that");
        Finish(false);
        return;
    }
}

void ScheduledPowerOff::Cancel() {
    if (!loop_)
        return;
    if (watch_ && watch_->Withdrawable(NowUsec())) {
        // Waited for: the process may be about to end, and a request still in
        // its queue would be lost with it.
        const QDBusMessage reply = bus_.call(ManagerCall("CancelScheduledShutdown"), QDBus::Block,
                                             static_cast<int>(timing_.CallTimeout.count()));
        if (reply.type() == QDBusMessage::ErrorMessage)
            report_(MessagePriority::Error,
                    "logind did not withdraw the scheduled power-off (" +
                        Describe(QDBusError(reply)) + "): it goes ahead at " +
                        Clock(watch_->Ours().Usec) + "; `shutdown -c` cancels it");
        else
            report_(MessagePriority::Notice, "the scheduled power-off is withdrawn");
    }
    Finish(false);
}

void ScheduledPowerOff::Finish(bool powerOff) {
    if (!loop_)
        return;
    own_->stop();
    poll_->stop();
    scheduling_ = false;
    result_ = powerOff;
    loop_->exit();
}

} // namespace sentinax
