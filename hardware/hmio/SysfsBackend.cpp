#include "SysfsBackend.h"

#include "TextParse.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace hmio {

namespace {

constexpr size_t kMaxDmiBytes = 1 << 20;

std::string Chomp(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ' || text.back() == '\r'))
        text.pop_back();
    return text;
}

// Attributes sit in the hwmon folder itself or, with older drivers, in its
// "device" folder.
int OpenAttribute(const std::string& folder, const std::string& name, int flags) {
    int fd = ::open((folder + name).c_str(), flags | O_CLOEXEC);
    if (fd < 0)
        fd = ::open((folder + "device/" + name).c_str(), flags | O_CLOEXEC);
    return fd;
}

// One decimal number, as sysfs prints it; junk after it makes it unreadable.
std::optional<int64_t> ReadNumber(int fd) {
    char buffer[32];
    const ssize_t n = ::pread(fd, buffer, sizeof buffer, 0);
    if (n <= 0 || n == static_cast<ssize_t>(sizeof buffer))
        return std::nullopt;
    const char* first = buffer;
    const char* last = buffer + n;
    while (last > first && (last[-1] == '\n' || last[-1] == ' ' || last[-1] == '\r'))
        --last;
    while (first < last && *first == ' ')
        ++first;
    int64_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || first == last)
        return std::nullopt;
    return value;
}

void CloseFd(int& fd) {
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

// The kernel's ACPI embedded-controller driver claims the ports as "EC data"
// and "EC cmd" and binds the controller's PNP0C09 device. While it owns them,
// a second driver of the same handshake corrupts its exchanges (and can hang
// a laptop's controller), so the library keeps its hands off.
bool KernelOwnsEcPorts(const std::string& root) {
    const std::string ioports = ReadWholeFile(root + "proc/ioports", 1 << 16).value_or("");
    if (ioports.find("EC data") != std::string::npos || ioports.find("EC cmd") != std::string::npos)
        return true;
    DIR* dir = ::opendir((root + "sys/bus/acpi/drivers/ec").c_str());
    if (!dir)
        return false;
    bool bound = false;
    while (const dirent* entry = ::readdir(dir))
        bound = bound || std::strncmp(entry->d_name, "PNP0C09", 7) == 0;
    ::closedir(dir);
    return bound;
}

} // namespace

namespace {
HwmonOptions OptionsFor(std::string root, ChannelMap map) {
    HwmonOptions options;
    options.Root = std::move(root);
    options.Map = std::move(map);
    options.UseLibsensors = false;
    return options;
}
} // namespace

SysfsBackend::SysfsBackend(std::string root, ChannelMap map)
    : SysfsBackend(OptionsFor(std::move(root), std::move(map))) {}

SysfsBackend::SysfsBackend(HwmonOptions options)
    : root_(options.Root), ecPorts_(options.Map.EcPorts), engine_(std::move(options)) {
    if (root_.empty() || root_.back() != '/')
        root_ += '/';
}

SysfsBackend::~SysfsBackend() {
    Close();
}

void SysfsBackend::EnsureOpen() {
    if (open_)
        return;
    open_ = true;
    engine_.Open();
    // The chips the engine has just found: a second scan would read them all again.
    for (const SensorChip& chip : engine_.Chips()) {
        intrusionFd_ =
            ::open(AttributePath(chip, "intrusion0_alarm").c_str(), O_RDONLY | O_CLOEXEC);
        if (intrusionFd_ >= 0) {
            intrusionPath_ = chip.Folder;
            break;
        }
    }
    const bool portsAllowed = ecPorts_ == EcPortAccess::Force ||
                              (ecPorts_ == EcPortAccess::Raw && !KernelOwnsEcPorts(root_));
    if (portsAllowed)
        portFd_ = ::open((root_ + "dev/port").c_str(), O_RDWR | O_CLOEXEC);
}

void SysfsBackend::Close() {
    engine_.Close();
    CloseFd(intrusionFd_);
    CloseFd(portFd_);
    intrusionPath_.clear();
    open_ = false;
}

uint32_t SysfsBackend::LoadNTHMIO() {
    Close();
    EnsureOpen();
    const bool anything = engine_.AnyPlaced() || intrusionFd_ >= 0 || portFd_ >= 0 ||
                          GetVid() != 0 ||
                          ::access((root_ + "sys/firmware/dmi/tables/DMI").c_str(), R_OK) == 0;
    return anything ? 1 : 0;
}

void SysfsBackend::UnloadNTHMIO() {
    Close();
}

uint32_t SysfsBackend::GetVid() {
    const auto text = ReadWholeFile(root_ + "sys/bus/pci/devices/0000:00:00.0/vendor", 64);
    if (!text)
        return 0;
    const auto value = ParseInteger(Chomp(*text));
    return value && *value > 0 && *value <= 0xFFFF ? static_cast<uint32_t>(*value) : 0;
}

DmiData SysfsBackend::ReadDmi() {
    DmiData dmi;
    const std::string folder = root_ + "sys/firmware/dmi/tables/";
    if (auto table = ReadWholeFile(folder + "DMI", kMaxDmiBytes); table && !table->empty()) {
        dmi.Table.assign(table->begin(), table->end());
        const std::string entry = ReadWholeFile(folder + "smbios_entry_point", 64).value_or("");
        dmi.EntryPoint = EntryPointFromFile(entry, dmi.Table.size());
        return dmi;
    }
    // The raw table is readable by root only; the board strings are not.
    const std::string id = root_ + "sys/class/dmi/id/";
    const auto product = ReadWholeFile(id + "board_name", 256);
    if (!product)
        return dmi;
    BoardIdentity board;
    board.Product = Chomp(*product);
    board.Manufacturer = Chomp(ReadWholeFile(id + "board_vendor", 256).value_or(""));
    board.Version = Chomp(ReadWholeFile(id + "board_version", 256).value_or(""));
    dmi.Table = BuildBoardTable(board);
    dmi.EntryPoint = MakeEntryPoint(dmi.Table.size(), 0, CountStructures(dmi.Table), 0);
    return dmi;
}

uint8_t SysfsBackend::DetectLM78() {
    EnsureOpen();
    return engine_.AnyPlaced() ? 1 : 0;
}

uint8_t SysfsBackend::DetectLM75(uint8_t* chipParams, uint8_t /*selector*/) {
    EnsureOpen();
    resumeRescanned_ = false;
    return engine_.ReadParams(chipParams) ? 1 : 0;
}

uint32_t SysfsBackend::ValueRAM(int32_t* rawValues) {
    EnsureOpen();
    resumeRescanned_ = false;
    return engine_.ReadSlots(rawValues);
}

// The monitor calls both after a resume, one right after the other: the
// chips are looked for again once.
void SysfsBackend::EnableSMSCHWMonitor() {
    EnsureOpen();
    if (!resumeRescanned_)
        engine_.Rescan();
    resumeRescanned_ = true;
}

void SysfsBackend::ApEnableATIISA() {
    EnableSMSCHWMonitor();
}

void SysfsBackend::GetStatus(HmioStatus& status) {
    EnsureOpen();
    engine_.GetStatus(status);
}

std::string SysfsBackend::SensorReport() {
    EnsureOpen();
    return engine_.Report();
}

std::string SysfsBackend::NextNotice() {
    EnsureOpen();
    return engine_.NextNotice();
}

uint8_t SysfsBackend::ReadPort(uint16_t port) {
    EnsureOpen();
    uint8_t value = 0; // no access: status "both buffers empty", data 0
    if (portFd_ >= 0 && ::pread(portFd_, &value, 1, port) != 1)
        value = 0;
    return value;
}

void SysfsBackend::WritePort(uint16_t port, uint8_t value) {
    EnsureOpen();
    if (portFd_ >= 0)
        (void)!::pwrite(portFd_, &value, 1, port);
}

uint8_t SysfsBackend::ChassisIntrusion() {
    EnsureOpen();
    if (intrusionFd_ < 0)
        return 0;
    const auto value = ReadNumber(intrusionFd_);
    return value && *value != 0 ? 1 : 0;
}

void SysfsBackend::ChassisClear() {
    EnsureOpen();
    if (intrusionPath_.empty())
        return;
    const int fd = OpenAttribute(intrusionPath_, "intrusion0_alarm", O_WRONLY);
    if (fd < 0)
        return; // needs root; the latch then stays as it is
    (void)!::write(fd, "0", 1);
    ::close(fd);
}

} // namespace hmio
