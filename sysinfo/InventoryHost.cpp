#include "InventoryHost.h"

#include "X11ScreenProbe.h"

#include <cstdlib>
#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>
#include <vector>

namespace sentinax {

namespace {

std::optional<std::string> ProcessEnv(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    if (!value || !*value) {
        return std::nullopt;
    }
    return std::string(value);
}

std::optional<UnameInfo> SystemUname() {
    struct utsname names {};
    if (::uname(&names) != 0) {
        return std::nullopt;
    }
    return UnameInfo{names.sysname, names.nodename, names.release, names.version, names.machine};
}

std::optional<std::string> SystemUserName() {
    struct passwd entry {};
    struct passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_name && *found->pw_name) {
        return std::string(found->pw_name);
    }
    return ProcessEnv("USER");
}

std::optional<std::tm> SystemLocalTime(std::time_t moment) {
    std::tm local{};
    if (!::localtime_r(&moment, &local)) {
        return std::nullopt;
    }
    return local;
}

} // namespace

InventoryHost InventoryHost::System() {
    InventoryHost host;
    host.Env = ProcessEnv;
    host.Uname = SystemUname;
    host.UserName = SystemUserName;
    host.Screen = [] { return ProbeX11Screen(std::getenv("DISPLAY")); };
    host.LocalTime = SystemLocalTime;
    return host;
}

InventoryHost InventoryHost::UnderRoot(const std::string& root) {
    InventoryHost host = System();
    host.SysRoot = root + "/sys";
    host.ProcRoot = root + "/proc";
    host.EtcRoot = root + "/etc";
    host.UsrLibRoot = root + "/usr/lib";
    host.RunRoot = root + "/run";
    host.UseUdev = false;
    host.Screen = [] { return std::optional<ScreenInfo>(); };
    return host;
}

} // namespace sentinax
