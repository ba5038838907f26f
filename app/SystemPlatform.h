// The real platform: libhmio.so, a thread sleep, the kernel release, the board
// table files, the window finder (X11 and Wayland), the sound player, /HMShared and logind.
#pragma once

#include "DesktopPrograms.h"
#include "Platform.h"
#include "ReportStream.h"

#include "alerts/DesktopWindowFinder.h"
#include "alerts/SharedSensorMemory.h"

#include <memory>

namespace sentinax {

class SystemPlatform : public Platform {
public:
    SystemPlatform();
    ~SystemPlatform() override;

    bool BindLibrary(HardwareLibrary& library) override;
    void Sleep(int milliseconds) override;
    std::string VersionText() override;
    BoardTable LoadBoardTable() override;
    WindowFinder& Windows() override { return windows_; }
    AlarmSound& Sound() override { return *sound_; }
    SharedSensorMemory& SharedMemory() override { return sharedMemory_; }
    ExternalPrograms& Programs() override { return programs_; }
    void PowerOff() override;
    void Report(const std::string& message) override;
    // SENTINAX_CPUINFO names a file read instead of /proc/cpuinfo (tests of
    // other CPUs, and a machine whose CPU the table should see differently).
    std::string CpuInfo() override;

private:
    // What the shared memory and the alarm sound say goes to Report; made
    // first and ended last, so that their last words are still heard.
    ReportStream messages_{[this](const std::string& line) { Report(line); }};
    DesktopWindowFinder windows_;
    std::unique_ptr<AlarmSound> sound_;
    SharedSensorMemory sharedMemory_{kHmSharedName, kHmSharedLockName, &messages_};
    DesktopPrograms programs_;
};

} // namespace sentinax
