#include "SystemdNotifier.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace sentinax {

SystemdNotifier::SystemdNotifier(const char* socketName) {
    if (!socketName || (socketName[0] != '/' && socketName[0] != '@'))
        return;
    const std::size_t length = std::strlen(socketName);
    if (length < 2 || length > sizeof(sockaddr_un{}.sun_path) - 1)
        return;
    address_ = socketName;
    if (address_[0] == '@')
        address_[0] = '\0';
}

SystemdNotifier SystemdNotifier::FromEnvironment() {
    return SystemdNotifier(std::getenv("NOTIFY_SOCKET"));
}

bool SystemdNotifier::Send(const std::string& state) const {
    if (!Enabled())
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    sockaddr_un to{};
    to.sun_family = AF_UNIX;
    std::memcpy(to.sun_path, address_.data(), address_.size());
    const socklen_t size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) +
                                                  address_.size() + (address_[0] == '\0' ? 0 : 1));
    const ssize_t sent = ::sendto(fd, state.data(), state.size(), MSG_NOSIGNAL,
                                  reinterpret_cast<const sockaddr*>(&to), size);
    ::close(fd);
    return sent == static_cast<ssize_t>(state.size());
}

int64_t WatchdogPingMs(const char* watchdogUsec, const char* watchdogPid, long ownPid) {
    auto number = [](const char* text, long long& value) {
        if (!text || !*text)
            return false;
        const char* end = text + std::strlen(text);
        const auto [stop, error] = std::from_chars(text, end, value);
        return error == std::errc() && stop == end && value > 0;
    };
    long long usec = 0, pid = 0;
    if (!number(watchdogUsec, usec))
        return 0;
    if (watchdogPid && *watchdogPid && (!number(watchdogPid, pid) || pid != ownPid))
        return 0;
    return std::max<int64_t>(usec / 2000, 1);
}

} // namespace sentinax
