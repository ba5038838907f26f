// The real platform: libhmio.so, a thread sleep, the kernel release, the board
// table files, /HMShared, the power-off request and /proc/cpuinfo. What differs
// between the window and the run without a display is handed in: the window
// finder, the sound player and the other programs. Messages go to the
// process's reporter (hardware/Reporter.h), which the run installs.
// Only Qt Core and D-Bus (the power-off request).
#pragma once

#include "ExternalPrograms.h"
#include "Platform.h"

#include "alerts/AlarmSound.h"
#include "alerts/SharedSensorMemory.h"
#include "alerts/WindowFinder.h"

#include <memory>

namespace sentinax {

class SystemPlatform : public Platform {
public:
    struct Parts {
        std::unique_ptr<WindowFinder> Windows;
        std::unique_ptr<AlarmSound> Sound;
        std::unique_ptr<ExternalPrograms> Programs;
    };
    explicit SystemPlatform(Parts parts);
    ~SystemPlatform() override;

    bool BindLibrary(HardwareLibrary& library) override;
    void Sleep(int milliseconds) override;
    std::string VersionText() override;
    BoardTable LoadBoardTable() override;
    WindowFinder& Windows() override { return *parts_.Windows; }
    AlarmSound& Sound() override { return *parts_.Sound; }
    SharedSensorMemory& SharedMemory() override { return sharedMemory_; }
    ExternalPrograms& Programs() override { return *parts_.Programs; }
    void PowerOff() override;
    void Report(const std::string& message) override;
    // SENTINAX_CPUINFO names a file read instead of /proc/cpuinfo (tests of
    // other CPUs, and a machine whose CPU the table should see differently).
    std::string CpuInfo() override;

private:
    Parts parts_;
    SharedSensorMemory sharedMemory_{kHmSharedName, kHmSharedLockName};
};

} // namespace sentinax
