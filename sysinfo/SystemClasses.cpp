#include "SystemClasses.h"

#include "CpuInfo.h"
#include "SysFiles.h"

#include <charconv>
#include <cmath>

namespace sentinax {

namespace {

constexpr const char* kCpuPrefix = "CPU";

std::vector<CpuPackage> ReadPackages(const InventoryHost& host) {
    const auto text = ReadFileText(host.ProcRoot + "/cpuinfo");
    return text ? ParseCpuInfo(*text) : std::vector<CpuPackage>{};
}

// The largest cache of each level that the first logical processor sees.
void PutCaches(const std::string& cpuFolder, ValueMap& values) {
    const std::string folder = cpuFolder + "/cache";
    for (const std::string& index : ListDirectory(folder)) {
        const std::string path = folder + "/" + index;
        const auto level = ParseUnsigned(Attr(path, "level").value_or(""));
        const auto size = CacheSizeKb(Attr(path, "size").value_or(""));
        const auto type = Attr(path, "type").value_or("");
        if (!level || !size || type == "Instruction") {
            continue;
        }
        const char* name = *level == 2 ? "L2CacheSize" : *level == 3 ? "L3CacheSize" : nullptr;
        if (name) {
            PutUint32(values, name, size);
        }
    }
}

std::optional<ValueMap> ReadProcessor(const InventoryHost& host, std::size_t index) {
    const auto packages = ReadPackages(host);
    if (index >= packages.size()) {
        return std::nullopt;
    }
    const CpuPackage& cpu = packages[index];
    ValueMap values;
    PutString(values, "Name", cpu.Name());
    PutString(values, "Manufacturer", cpu.Field("vendor_id"));
    PutString(values, "Microcode", cpu.Field("microcode"));
    PutUint32(values, "Family", ParseUnsigned(cpu.Field("cpu family").value_or("")));
    PutUint32(values, "Model", ParseUnsigned(cpu.Field("model").value_or("")));
    PutUint32(values, "Stepping", ParseUnsigned(cpu.Field("stepping").value_or("")));
    const uint64_t logical = cpu.LogicalIds.size();
    PutUint32(values, "NumberOfLogicalProcessors", logical);
    auto cores = ParseUnsigned(cpu.Field("cpu cores").value_or(""));
    if (!cores && cpu.CoreIdCount > 0) {
        cores = static_cast<uint64_t>(cpu.CoreIdCount);
    }
    PutUint32(values, "NumberOfCores", cores.value_or(logical));

    const std::string first =
        host.SysRoot + "/devices/system/cpu/cpu" + std::to_string(cpu.LogicalIds.front());
    // Kilohertz in sysfs; megahertz in cpuinfo.
    auto current = ParseUnsigned(Attr(first, "cpufreq/scaling_cur_freq").value_or(""));
    if (current) {
        *current /= 1000;
    } else if (const auto mhz = cpu.Field("cpu MHz")) {
        // Not strtod: the point must be read as a point whatever the locale.
        double value = 0;
        std::from_chars(mhz->data(), mhz->data() + mhz->size(), value);
        if (value > 0 && value < 1e6) {
            current = static_cast<uint64_t>(std::lround(value));
        }
    }
    PutUint32(values, "CurrentClockSpeed", current);
    if (const auto max = ParseUnsigned(Attr(first, "cpufreq/cpuinfo_max_freq").value_or(""))) {
        PutUint32(values, "MaxClockSpeed", *max / 1000);
    }
    PutCaches(first, values);

    std::optional<std::string> machine;
    if (host.Uname) {
        if (const auto names = host.Uname()) {
            machine = names->Machine;
        }
    }
    PutString(values, "Architecture", machine);
    if (cpu.Field("flags")) {
        PutUint32(values, "AddressWidth", cpu.HasFlag("lm") ? 64u : 32u);
        PutBoolean(values, "VirtualizationExtensions", cpu.HasFlag("vmx") || cpu.HasFlag("svm"));
        PutBoolean(values, "HypervisorPresent", cpu.HasFlag("hypervisor"));
    }
    return values;
}

std::map<std::string, std::string> OsRelease(const InventoryHost& host) {
    auto text = ReadFileText(host.EtcRoot + "/os-release", 1u << 20);
    if (!text) {
        text = ReadFileText(host.UsrLibRoot + "/os-release", 1u << 20);
    }
    return text ? ParseKeyValueLines(*text) : std::map<std::string, std::string>{};
}

std::string OsName(const std::map<std::string, std::string>& release) {
    for (const char* key : {"PRETTY_NAME", "NAME"}) {
        const auto it = release.find(key);
        if (it != release.end() && !it->second.empty()) {
            return it->second;
        }
    }
    return "Linux";
}

// The value of the first line "key<separator>value" ("MemTotal:  16 kB", "btime 1711357502").
std::optional<std::string_view> LineValue(std::string_view text, std::string_view key,
                                          char separator) {
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.size() > key.size() && line.substr(0, key.size()) == key &&
            line[key.size()] == separator) {
            return Trim(line.substr(key.size() + 1));
        }
    }
    return std::nullopt;
}

std::optional<uint64_t> MemInfoKb(std::string_view meminfo, std::string_view key) {
    auto value = LineValue(meminfo, key, ':');
    if (!value) {
        return std::nullopt;
    }
    if (value->size() > 3 && value->substr(value->size() - 3) == " kB") {
        value->remove_suffix(3);
    }
    return ParseUnsigned(*value);
}

std::optional<std::string> BootTime(const InventoryHost& host) {
    const auto stat = ReadFileText(host.ProcRoot + "/stat");
    if (!stat || !host.LocalTime) {
        return std::nullopt;
    }
    const auto seconds = ParseUnsigned(LineValue(*stat, "btime", ' ').value_or(""));
    const auto local = seconds ? host.LocalTime(static_cast<std::time_t>(*seconds)) : std::nullopt;
    if (!local) {
        return std::nullopt;
    }
    return CimDatetime(local->tm_year + 1900, local->tm_mon + 1, local->tm_mday, local->tm_hour,
                       local->tm_min, local->tm_sec, local->tm_gmtoff);
}

ValueMap ReadOperatingSystem(const InventoryHost& host,
                             const std::map<std::string, std::string>& release) {
    ValueMap values;
    const auto field = [&release](const char* key) -> std::optional<std::string> {
        const auto it = release.find(key);
        return it == release.end() ? std::nullopt : NonEmpty(it->second);
    };
    PutString(values, "Version", field("VERSION") ? field("VERSION") : field("VERSION_ID"));
    PutString(values, "Distribution", field("ID"));
    if (host.Uname) {
        if (const auto names = host.Uname()) {
            PutString(values, "KernelName", NonEmpty(names->SysName));
            PutString(values, "KernelRelease", NonEmpty(names->Release));
            PutString(values, "KernelVersion", NonEmpty(names->Version));
            PutString(values, "OSArchitecture", NonEmpty(names->Machine));
            PutString(values, "CSName", NonEmpty(names->NodeName));
        }
    }
    if (const auto meminfo = ReadFileText(host.ProcRoot + "/meminfo", 1u << 20)) {
        PutUint64(values, "TotalVisibleMemorySize", MemInfoKb(*meminfo, "MemTotal"));
        PutUint64(values, "FreePhysicalMemory", MemInfoKb(*meminfo, "MemAvailable"));
        PutUint64(values, "TotalSwapSpaceSize", MemInfoKb(*meminfo, "SwapTotal"));
        PutUint64(values, "FreeSwapSpace", MemInfoKb(*meminfo, "SwapFree"));
    }
    if (auto boot = BootTime(host)) {
        values["LastBootUpTime"] = WmiValue::Datetime(std::move(*boot));
    }
    uint64_t processes = 0;
    for (const std::string& name : ListDirectory(host.ProcRoot)) {
        processes += name.find_first_not_of("0123456789") == std::string::npos ? 1 : 0;
    }
    PutUint32(values, "NumberOfProcesses",
              processes > 0 ? std::optional<uint64_t>(processes) : std::nullopt);
    return values;
}

std::optional<std::string> UserOf(const InventoryHost& host) {
    return host.UserName ? host.UserName() : std::nullopt;
}

ValueMap ReadDesktop(const InventoryHost& host) {
    ValueMap values;
    const auto env = [&host](const char* name) -> std::optional<std::string> {
        return host.Env ? host.Env(name) : std::nullopt;
    };
    auto desktop = env("XDG_CURRENT_DESKTOP");
    PutString(values, "DesktopEnvironment", desktop ? desktop : env("DESKTOP_SESSION"));
    PutString(values, "SessionType", env("XDG_SESSION_TYPE"));
    PutString(values, "Display", env("DISPLAY"));
    PutString(values, "WaylandDisplay", env("WAYLAND_DISPLAY"));
    if (const auto screen = host.Screen ? host.Screen() : std::nullopt) {
        PutUint32(values, "ScreenWidth", static_cast<uint64_t>(screen->Width));
        PutUint32(values, "ScreenHeight", static_cast<uint64_t>(screen->Height));
        PutUint32(values, "BitsPerPixel", static_cast<uint64_t>(screen->Depth));
        if (screen->WidthMm > 0) {
            PutUint32(values, "PixelsPerInch",
                      static_cast<uint64_t>(std::lround(screen->Width * 25.4 / screen->WidthMm)));
        }
    }
    return values;
}

} // namespace

std::optional<uint64_t> CacheSizeKb(std::string_view text) {
    text = Trim(text);
    uint64_t scale = 1;
    if (!text.empty() && (text.back() == 'K' || text.back() == 'M')) {
        scale = text.back() == 'M' ? 1024 : 1;
        text.remove_suffix(1);
    }
    const auto value = ParseUnsigned(text);
    return value ? std::optional<uint64_t>(*value * scale) : std::nullopt;
}

std::unique_ptr<InventoryClass> MakeProcessorClass(InventoryContext context) {
    const InventoryHost* host = &context.Host;
    auto keys = [host]() -> std::optional<std::vector<std::string>> {
        std::vector<std::string> ids;
        const std::size_t count = ReadPackages(*host).size();
        for (std::size_t i = 0; i < count; ++i) {
            ids.push_back(kCpuPrefix + std::to_string(i));
        }
        return ids;
    };
    auto reader = [host](const std::string& key) -> std::optional<ValueMap> {
        if (key.rfind(kCpuPrefix, 0) != 0) {
            return std::nullopt;
        }
        const auto index = ParseUnsigned(std::string_view(key).substr(3));
        return index ? ReadProcessor(*host, *index) : std::nullopt;
    };
    return std::make_unique<InventoryClass>(
        "Sx_Processor", "DeviceID",
        std::vector<ClassProperty>{{"DeviceID", "string"},
                                   {"Name", "string"},
                                   {"Manufacturer", "string"},
                                   {"Microcode", "string"},
                                   {"Family", "uint16"},
                                   {"Model", "uint16"},
                                   {"Stepping", "uint16"},
                                   {"NumberOfCores", "uint32"},
                                   {"NumberOfLogicalProcessors", "uint32"},
                                   {"CurrentClockSpeed", "uint32"},
                                   {"MaxClockSpeed", "uint32"},
                                   {"L2CacheSize", "uint32"},
                                   {"L3CacheSize", "uint32"},
                                   {"Architecture", "string"},
                                   {"AddressWidth", "uint16"},
                                   {"VirtualizationExtensions", "boolean"},
                                   {"HypervisorPresent", "boolean"}},
        std::move(keys), std::move(reader));
}

std::unique_ptr<InventoryClass> MakeOperatingSystemClass(InventoryContext context) {
    const InventoryHost* host = &context.Host;
    // The system is always there; its name is the key.
    auto keys = [host]() -> std::optional<std::vector<std::string>> {
        return std::vector<std::string>{OsName(OsRelease(*host))};
    };
    auto reader = [host](const std::string& key) -> std::optional<ValueMap> {
        const auto release = OsRelease(*host);
        if (key != OsName(release)) {
            return std::nullopt;
        }
        return ReadOperatingSystem(*host, release);
    };
    return std::make_unique<InventoryClass>(
        "Sx_OperatingSystem", "Name",
        std::vector<ClassProperty>{{"Name", "string"},
                                   {"Version", "string"},
                                   {"Distribution", "string"},
                                   {"KernelName", "string"},
                                   {"KernelRelease", "string"},
                                   {"KernelVersion", "string"},
                                   {"OSArchitecture", "string"},
                                   {"CSName", "string"},
                                   {"TotalVisibleMemorySize", "uint64"},
                                   {"FreePhysicalMemory", "uint64"},
                                   {"TotalSwapSpaceSize", "uint64"},
                                   {"FreeSwapSpace", "uint64"},
                                   {"LastBootUpTime", "datetime"},
                                   {"NumberOfProcesses", "uint32"}},
        std::move(keys), std::move(reader));
}

std::unique_ptr<InventoryClass> MakeDesktopClass(InventoryContext context) {
    const InventoryHost* host = &context.Host;
    auto keys = [host]() -> std::optional<std::vector<std::string>> {
        std::vector<std::string> users;
        if (auto user = UserOf(*host)) {
            users.push_back(std::move(*user));
        }
        return users;
    };
    auto reader = [host](const std::string& key) -> std::optional<ValueMap> {
        if (UserOf(*host) != key) {
            return std::nullopt;
        }
        return ReadDesktop(*host);
    };
    return std::make_unique<InventoryClass>(
        "Sx_Desktop", "Name",
        std::vector<ClassProperty>{{"Name", "string"},
                                   {"DesktopEnvironment", "string"},
                                   {"SessionType", "string"},
                                   {"Display", "string"},
                                   {"WaylandDisplay", "string"},
                                   {"ScreenWidth", "uint32"},
                                   {"ScreenHeight", "uint32"},
                                   {"BitsPerPixel", "uint32"},
                                   {"PixelsPerInch", "uint32"}},
        std::move(keys), std::move(reader));
}

} // namespace sentinax
