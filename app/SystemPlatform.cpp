#include "SystemPlatform.h"

#include "alerts/AlarmSound.h"
#include "alerts/ui/PowerOff.h"
#include "alerts/ui/QtAlarmSound.h"
#include "hardware/HardwareLibrary.h"

#include <chrono>
#include <iostream>
#include <sys/utsname.h>
#include <thread>

namespace sentinax {

SystemPlatform::SystemPlatform() : sound_(std::make_unique<QtAlarmSound>()) {}

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

void SystemPlatform::Report(const std::string& message) {
    std::cerr << "sentinax4: " << message << std::endl;
}

} // namespace sentinax
