// The back end on the kernel's interfaces, all below one root folder ("/" in
// use, a temporary tree in tests):
//   sys/class/hwmon/hwmon*/       chips and their inputs, found, placed and read
//                                 by HwmonEngine (through libsensors below "/")
//   sys/class/dmi/id/board_*      the board the wiring rows are chosen by
//   sys/firmware/dmi/tables/      DMI structure table and entry point
//   sys/class/dmi/id/board_*      board identity when the table is unreadable
//   sys/bus/pci/devices/0000:00:00.0/vendor   host bridge vendor id
//   dev/port                      embedded-controller ports (root only; used only
//                                 when the channel map opts in, see EcPortAccess)
//   proc/ioports, sys/bus/acpi/drivers/ec/   whether the kernel drives the
//                                 embedded controller itself
// Input descriptors stay open from LoadNTHMIO to UnloadNTHMIO and are read
// with pread at offset 0, which makes sysfs produce a fresh value.
// EnableSMSCHWMonitor and ApEnableATIISA, which the monitor calls after a
// resume, look for the chips again.
#pragma once

#include "Backend.h"
#include "ChannelMap.h"
#include "HwmonEngine.h"

#include <string>
#include <vector>

namespace hmio {

class SysfsBackend : public Backend {
public:
    SysfsBackend(std::string root, ChannelMap map);
    explicit SysfsBackend(HwmonOptions options);
    ~SysfsBackend() override;
    SysfsBackend(const SysfsBackend&) = delete;
    SysfsBackend& operator=(const SysfsBackend&) = delete;

    uint32_t LoadNTHMIO() override;
    void UnloadNTHMIO() override;
    uint32_t GetVid() override;
    DmiData ReadDmi() override;
    uint8_t DetectLM78() override;
    uint8_t DetectLM75(uint8_t* chipParams, uint8_t selector) override;
    uint32_t ValueRAM(int32_t* rawValues) override;
    void EnableSMSCHWMonitor() override;
    void ApEnableATIISA() override;
    void GetStatus(HmioStatus& status) override;
    std::string SensorReport() override;
    std::string NextNotice() override;
    uint8_t ReadPort(uint16_t port) override;
    void WritePort(uint16_t port, uint8_t value) override;
    uint8_t ChassisIntrusion() override;
    void ChassisClear() override;

private:
    void EnsureOpen();
    void Close();

    std::string root_;
    EcPortAccess ecPorts_;
    HwmonEngine engine_;
    bool open_ = false;
    bool resumeRescanned_ = false; // the resume's rescan has run (two calls ask for it)
    std::string intrusionPath_;
    int intrusionFd_ = -1;
    int portFd_ = -1;
};

} // namespace hmio
