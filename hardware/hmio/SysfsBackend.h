// The back end on the kernel's interfaces, all below one root folder ("/" in
// use, a temporary tree in tests):
//   sys/class/hwmon/hwmon*/       chips, identified by their "name" file, and
//                                 their inputs, fed to slots by the channel map
//   sys/firmware/dmi/tables/      DMI structure table and entry point
//   sys/class/dmi/id/board_*      board identity when the table is unreadable
//   sys/bus/pci/devices/0000:00:00.0/vendor   host bridge vendor id
//   dev/port                      embedded-controller ports (root only; used only
//                                 when the channel map opts in, see EcPortAccess)
//   proc/ioports, sys/bus/acpi/drivers/ec/   whether the kernel drives the
//                                 embedded controller itself
// Input descriptors stay open from LoadNTHMIO to UnloadNTHMIO and are read
// with pread at offset 0, which makes sysfs produce a fresh value.
#pragma once

#include "Backend.h"
#include "ChannelMap.h"

#include <string>
#include <vector>

namespace hmio {

class SysfsBackend : public Backend {
public:
    SysfsBackend(std::string root, ChannelMap map);
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
    uint8_t ReadPort(uint16_t port) override;
    void WritePort(uint16_t port, uint8_t value) override;
    uint8_t ChassisIntrusion() override;
    void ChassisClear() override;

private:
    struct Channel {
        int Fd = -1;
        const ChannelEntry* Entry = nullptr;
        int Index = 0; // the slot or byte it feeds on this host
    };
    void EnsureOpen();
    void Close();

    std::string root_;
    ChannelMap map_;
    bool open_ = false;
    std::vector<Channel> slots_;  // claimed RawValues slots
    std::vector<Channel> params_; // claimed ChipParams bytes
    std::string intrusionPath_;
    int intrusionFd_ = -1;
    int portFd_ = -1;
};

} // namespace hmio
