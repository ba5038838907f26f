#include "alerts/power/PowerOff.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <cstdlib>

namespace sentinax {

namespace {

const char* const kLogindService = "org.freedesktop.login1";
const char* const kLogindPath = "/org/freedesktop/login1";
const char* const kLogindManager = "org.freedesktop.login1.Manager";

void RequestLogindPowerOff() {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QString::fromLatin1(kLogindService), QString::fromLatin1(kLogindPath),
        QString::fromLatin1(kLogindManager), QStringLiteral("PowerOff"));
    // interactive = false: the request is decided by policy at once. The
    // countdown has usually run out with nobody at the machine, so an
    // authentication prompt would wait for no one while the CPU overheats;
    // without it polkit grants or refuses immediately (the active local
    // session may power off by default).
    call << QVariant(false);
    call.setInteractiveAuthorizationAllowed(false);
    // Sent without waiting for the reply: the user-interface thread never
    // blocks, and the reply (success or refusal) changes nothing here.
    bus.send(call);
}

} // namespace

void ShutdownSystem() {
    const char* command = std::getenv(kPowerOffCommandVariable);
    if (command && *command) {
        QProcess::startDetached(QStringLiteral("/bin/sh"),
                                {QStringLiteral("-c"), QString::fromLocal8Bit(command)});
        return;
    }
    RequestLogindPowerOff();
}

} // namespace sentinax
