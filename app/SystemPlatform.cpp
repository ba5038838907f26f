#include "SystemPlatform.h"

#include "alerts/power/PowerOff.h"
#include "hardware/HardwareLibrary.h"
#include "hardware/RegularFile.h"
#include "hardware/Reporter.h"

#include <chrono>
#include <cstdlib>
#include <sys/utsname.h>
#include <thread>

namespace sentinax {

SystemPlatform::SystemPlatform(Parts parts) : parts_(std::move(parts)) {}

SystemPlatform::~SystemPlatform() = default;

bool SystemPlatform::BindLibrary(HardwareLibrary& library) {
    return BindHardwareLibrary(library);
}

void SystemPlatform::Sleep(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::string SystemPlatform::VersionText() {
    struct utsname name {};
    if (uname(&name) != 0)
        return {};
    return name.release;
}

BoardTable SystemPlatform::LoadBoardTable() {
    return LoadBoardTables(ReportedLines());
}

void SystemPlatform::PowerOff() {
    ShutdownSystem();
}

void SystemPlatform::Report(const std::string& message) {
    ReportMessage(MessagePriority::Warning, message);
}

std::string SystemPlatform::CpuInfo() {
    const char* chosen = std::getenv("SENTINAX_CPUINFO");
    const std::string path = chosen && *chosen ? chosen : "/proc/cpuinfo";
    // Many-core machines write a few hundred KiB; only the first CPU is read.
    constexpr std::size_t kMaxCpuInfoBytes = 8u << 20;
    std::string text;
    const FileCheck check = ReadRegularFile(path, kMaxCpuInfoBytes, text);
    if (!check.Ok()) {
        const char* glue = check.Status == FileStatus::Failed ? ": " : " ";
        Report(path + glue + check.Why +
               "; the CPU is not known, so the table gives it no rated maximum");
        return {};
    }
    return text;
}

} // namespace sentinax
