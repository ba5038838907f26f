#include "SystemPlatform.h"

#include "JournalReporter.h"

#include "alerts/AlarmSound.h"
#include "alerts/power/PowerOff.h"
#include "alerts/ui/QtAlarmSound.h"
#include "hardware/HardwareLibrary.h"
#include "hardware/RegularFile.h"

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <sys/utsname.h>
#include <thread>

namespace sentinax {

SystemPlatform::SystemPlatform() : sound_(std::make_unique<QtAlarmSound>(nullptr, &messages_)) {}

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
    return LoadBoardTables(std::cerr);
}

void SystemPlatform::PowerOff() {
    ShutdownSystem();
}

// The same lines as the service's own output: one prefix, and the journal's
// priority where standard error is the journal.
void SystemPlatform::Report(const std::string& message) {
    JournalReporter::ForStandardError().Report(MessagePriority::Warning, message);
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
