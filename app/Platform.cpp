#include "Platform.h"

#include "hardware/HardwareLibrary.h"

#include <iostream>
#include <sys/utsname.h>
#include <thread>

namespace sentinax {

bool SystemPlatform::BindLibrary(HardwareLibrary& library) {
    return BindHardwareLibrary(library);
}

void SystemPlatform::Sleep(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::string SystemPlatform::VersionText() {
    struct utsname name {};
    if (uname(&name) != 0) return {};
    return name.release;
}

BoardTable SystemPlatform::LoadBoardTable() { return LoadBoardTables(std::cerr); }

} // namespace sentinax
