// The table of the hardware library's fourteen entry points.
//
// Every access to the sensor hardware goes through this table; tests fill it
// with their own functions. BindHardwareLibrary fills it from libhmio.so.
#pragma once

#include "hmio/hmio.h"

#include <cstdint>
#include <string>

namespace sentinax {

struct HardwareLibrary {
    using GetVidFn = uint32_t (*)();
    using DetectLM78Fn = uint8_t (*)();
    using DetectLM75Fn = uint8_t (*)(uint8_t* chipParams, uint8_t selector);
    using VoidFn = void (*)();
    using ValueRAMFn = void (*)(int32_t* rawValues);
    using LoadNTHMIOFn = uint32_t (*)();
    using GetDMILengthFn = uint32_t (*)(uint8_t* entryPoint);
    using GetDMIDataFn = void (*)(uint8_t* buffer);
    using ReadPortFn = uint32_t (*)(uint16_t port);
    using WritePortFn = void (*)(uint16_t port, uint8_t value);
    using ChassisIntrusionFn = uint8_t (*)();
    using GetStatusFn = void (*)(HmioStatus* status);
    using TextFn = uint32_t (*)(char* buffer, uint32_t size);

    void* Module = nullptr; // dlopen handle; null for a table filled by hand

    // In the order in which they are resolved.
    GetVidFn GetVid = nullptr;
    DetectLM78Fn DetectLM78 = nullptr;
    DetectLM75Fn DetectLM75 = nullptr;
    VoidFn EnableSMSCHWMonitor = nullptr;
    VoidFn ApEnableATIISA = nullptr;
    ValueRAMFn ValueRAM = nullptr;
    LoadNTHMIOFn LoadNTHMIO = nullptr;
    VoidFn UnloadNTHMIO = nullptr;
    GetDMILengthFn GetDMILength = nullptr;
    GetDMIDataFn GetDMIData = nullptr;
    ReadPortFn ReadPort = nullptr;
    WritePortFn WritePort = nullptr;
    VoidFn ChassisClear = nullptr;
    ChassisIntrusionFn ChassisIntrusion = nullptr;

    // The optional entry points (hmio.h); a library without them gets
    // stand-ins: an all-zero status, an empty report, no notices.
    GetStatusFn HmioGetStatus = nullptr;
    TextFn HmioSensorReport = nullptr;
    TextFn HmioNextNotice = nullptr;
};

// The library's status, with Size set (all zero from a library without it).
HmioStatus ReadHmioStatus(const HardwareLibrary& library);
// The whole placement report, and the next notice ("" when none).
std::string ReadSensorReport(const HardwareLibrary& library);
std::string NextHmioNotice(const HardwareLibrary& library);

// The library's plain file name, looked for beside the program, then on the
// normal search path.
inline constexpr const char* kHardwareLibraryName = "libhmio.so";

// Loads the library and resolves the entry points in table order. Returns
// false, leaving the table untouched, when the library cannot be loaded. An
// export the library lacks is bound to a stand-in that does nothing and
// answers 0, so a partial library never crashes the monitor.
bool BindHardwareLibrary(HardwareLibrary& library, const char* fileName = kHardwareLibraryName);

// Fills every null entry of a table with the do-nothing stand-in.
void FillMissingEntries(HardwareLibrary& library);

} // namespace sentinax
