// Tells systemd how the service is doing, through the datagram socket that
// systemd names in NOTIFY_SOCKET for a unit of Type=notify (what sd_notify
// does, without libsystemd): "READY=1" once monitoring runs, "STOPPING=1" at
// the clean-up, "WATCHDOG=1" while the event loop is alive, "STATUS=..." for
// `systemctl status`. Without the variable (not run by systemd) it does nothing.
#pragma once

#include <cstdint>
#include <string>

namespace sentinax {

class SystemdNotifier {
public:
    // socketName: NOTIFY_SOCKET's value: an absolute path, or "@name" for an
    // abstract socket; anything else (unset, relative, too long) disables it.
    explicit SystemdNotifier(const char* socketName);
    // From NOTIFY_SOCKET.
    static SystemdNotifier FromEnvironment();

    bool Enabled() const { return !address_.empty(); }
    // Sends one datagram of "KEY=value" lines; false when it could not be sent.
    bool Send(const std::string& state) const;

private:
    std::string address_; // sun_path bytes (a leading NUL for an abstract name)
};

// How often the watchdog wants to hear from the service: half of WATCHDOG_USEC
// (so one late ping is no failure), in milliseconds; 0 when systemd set no
// watchdog for this process (WATCHDOG_PID, when set, must be ours).
int64_t WatchdogPingMs(const char* watchdogUsec, const char* watchdogPid, long ownPid);

} // namespace sentinax
