// Where the Linux inventory reads the machine: the roots of sysfs, procfs,
// /etc, /usr/lib and /run, whether libudev is used, and the facts that do not
// come from files (environment, uname, user, X11 screen, local time). Tests and
// the export tool's --root point it at a tree of plain files.
#pragma once

#include <ctime>
#include <functional>
#include <optional>
#include <string>

namespace sentinax {

struct UnameInfo {
    std::string SysName;  // "Linux"
    std::string NodeName; // the host name
    std::string Release;  // "6.1.0-18-amd64"
    std::string Version;  // "#1 SMP PREEMPT_DYNAMIC Debian ..."
    std::string Machine;  // "x86_64"
};

struct ScreenInfo {
    int Width = 0;  // pixels
    int Height = 0; // pixels
    int Depth = 0;  // bits per pixel of the root window
    int WidthMm = 0;
    int HeightMm = 0;
};

struct InventoryHost {
    std::string SysRoot = "/sys";
    std::string ProcRoot = "/proc";
    std::string EtcRoot = "/etc";
    std::string UsrLibRoot = "/usr/lib";
    std::string RunRoot = "/run";
    // Devices through libudev; otherwise straight from the sysfs files.
    bool UseUdev = true;

    std::function<std::optional<std::string>(const std::string& name)> Env;
    std::function<std::optional<UnameInfo>()> Uname;
    std::function<std::optional<std::string>()> UserName;
    std::function<std::optional<ScreenInfo>()> Screen;
    // Local time of a moment, with tm_gmtoff set.
    std::function<std::optional<std::tm>(std::time_t)> LocalTime;

    // This machine: the real roots, the process environment, uname(2), the
    // user's password entry, the X11 display named by $DISPLAY.
    static InventoryHost System();
    // A tree of plain files: <root>/sys, <root>/proc, <root>/etc, <root>/usr/lib,
    // <root>/run, no libudev; the other facts as on this machine, no screen.
    static InventoryHost UnderRoot(const std::string& root);
};

} // namespace sentinax
