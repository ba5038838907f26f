// One way of answering the library's entry points: the kernel's sysfs files or
// a scripted scenario. Library (Library.h) wraps a back end with the parts that
// are the same for both: port filtering, the DMI buffer and the call trace.
#pragma once

#include "Smbios.h"
#include "hmio.h"

#include <cstdint>
#include <string>
#include <vector>

namespace hmio {

struct DmiData {
    std::vector<uint8_t> Table; // empty: no DMI data
    DmiEntryPoint EntryPoint{};
};

class Backend {
public:
    virtual ~Backend() = default;

    virtual uint32_t LoadNTHMIO() = 0;
    virtual void UnloadNTHMIO() = 0;
    virtual uint32_t GetVid() = 0;
    virtual DmiData ReadDmi() = 0;
    virtual uint8_t DetectLM78() = 0;
    // Writes the ChipParams bytes it reports and leaves the others alone.
    virtual uint8_t DetectLM75(uint8_t* chipParams, uint8_t selector) = 0;
    virtual void EnableSMSCHWMonitor() {}
    virtual void ApEnableATIISA() {}
    // Writes the RawValues slots it reports; returns them as a bit mask.
    virtual uint32_t ValueRAM(int32_t* rawValues) = 0;
    // Only ever called for the embedded controller's ports 0x62 and 0x66.
    virtual uint8_t ReadPort(uint16_t port) = 0;
    virtual void WritePort(uint16_t port, uint8_t value) = 0;
    virtual uint8_t ChassisIntrusion() = 0;
    virtual void ChassisClear() = 0;

    // The optional entry points (hmio.h). A back end without a placement
    // reports nothing: an empty status, report and notice list.
    virtual void GetStatus(HmioStatus& status) { (void)status; }
    virtual std::string SensorReport() { return {}; }
    // Empty when there is no message left.
    virtual std::string NextNotice() { return {}; }
};

} // namespace hmio
