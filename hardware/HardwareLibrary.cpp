#include "HardwareLibrary.h"

#include "LibraryLoader.h"

#include <algorithm>
#include <cstring>
#include <dlfcn.h>

namespace sentinax {

namespace {

uint32_t NoVid() {
    return 0;
}
uint8_t NoDetect() {
    return 0;
}
uint8_t NoDetectLM75(uint8_t*, uint8_t) {
    return 0;
}
void NoOp() {}
void NoValueRAM(int32_t*) {}
uint32_t NoLoad() {
    return 0;
}
uint32_t NoDMILength(uint8_t*) {
    return 0;
}
void NoDMIData(uint8_t*) {}
uint32_t NoReadPort(uint16_t) {
    return 0;
}
void NoWritePort(uint16_t, uint8_t) {}
void NoStatus(HmioStatus* status) {
    if (status && status->Size >= sizeof(uint32_t)) {
        const uint32_t size = status->Size;
        std::memset(status, 0, std::min<size_t>(size, sizeof *status));
        status->Size = size;
    }
}
uint32_t NoText(char* buffer, uint32_t size) {
    if (buffer && size > 0)
        buffer[0] = '\0';
    return 0;
}

// Calls a text entry point until the whole text fits.
std::string ReadText(HardwareLibrary::TextFn fn) {
    std::string text(256, '\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
        const uint32_t length = fn(text.data(), static_cast<uint32_t>(text.size()));
        if (length < text.size()) {
            text.resize(length);
            return text;
        }
        text.assign(static_cast<size_t>(length) + 1, '\0');
    }
    return {};
}

template <typename Fn> void Resolve(void* module, const char* name, Fn& slot) {
    slot = reinterpret_cast<Fn>(dlsym(module, name));
}

} // namespace

void FillMissingEntries(HardwareLibrary& lib) {
    if (!lib.GetVid)
        lib.GetVid = NoVid;
    if (!lib.DetectLM78)
        lib.DetectLM78 = NoDetect;
    if (!lib.DetectLM75)
        lib.DetectLM75 = NoDetectLM75;
    if (!lib.EnableSMSCHWMonitor)
        lib.EnableSMSCHWMonitor = NoOp;
    if (!lib.ApEnableATIISA)
        lib.ApEnableATIISA = NoOp;
    if (!lib.ValueRAM)
        lib.ValueRAM = NoValueRAM;
    if (!lib.LoadNTHMIO)
        lib.LoadNTHMIO = NoLoad;
    if (!lib.UnloadNTHMIO)
        lib.UnloadNTHMIO = NoOp;
    if (!lib.GetDMILength)
        lib.GetDMILength = NoDMILength;
    if (!lib.GetDMIData)
        lib.GetDMIData = NoDMIData;
    if (!lib.ReadPort)
        lib.ReadPort = NoReadPort;
    if (!lib.WritePort)
        lib.WritePort = NoWritePort;
    if (!lib.ChassisClear)
        lib.ChassisClear = NoOp;
    if (!lib.ChassisIntrusion)
        lib.ChassisIntrusion = NoDetect;
    if (!lib.HmioGetStatus)
        lib.HmioGetStatus = NoStatus;
    if (!lib.HmioSensorReport)
        lib.HmioSensorReport = NoText;
    if (!lib.HmioNextNotice)
        lib.HmioNextNotice = NoText;
}

HmioStatus ReadHmioStatus(const HardwareLibrary& library) {
    HmioStatus status{};
    status.Size = sizeof status;
    if (library.HmioGetStatus)
        library.HmioGetStatus(&status);
    status.Size = sizeof status;
    return status;
}

std::string ReadSensorReport(const HardwareLibrary& library) {
    return library.HmioSensorReport ? ReadText(library.HmioSensorReport) : std::string();
}

// Asked on every tick: the usual answer, none, costs no allocation.
std::string NextHmioNotice(const HardwareLibrary& library) {
    if (!library.HmioNextNotice)
        return {};
    char line[512];
    const uint32_t length = library.HmioNextNotice(line, sizeof line);
    if (length == 0)
        return {};
    if (length < sizeof line)
        return std::string(line, length);
    return ReadText(library.HmioNextNotice);
}

bool BindHardwareLibrary(HardwareLibrary& lib, const char* fileName) {
    void* module = OpenLibrary(fileName);
    if (!module)
        return false;
    HardwareLibrary bound;
    bound.Module = module;
    Resolve(module, "GetVid", bound.GetVid);
    Resolve(module, "DetectLM78", bound.DetectLM78);
    Resolve(module, "DetectLM75", bound.DetectLM75);
    Resolve(module, "EnableSMSCHWMonitor", bound.EnableSMSCHWMonitor);
    Resolve(module, "ApEnableATIISA", bound.ApEnableATIISA);
    Resolve(module, "ValueRAM", bound.ValueRAM);
    Resolve(module, "LoadNTHMIO", bound.LoadNTHMIO);
    Resolve(module, "UnloadNTHMIO", bound.UnloadNTHMIO);
    Resolve(module, "GetDMILength", bound.GetDMILength);
    Resolve(module, "GetDMIData", bound.GetDMIData);
    Resolve(module, "ReadPort", bound.ReadPort);
    Resolve(module, "WritePort", bound.WritePort);
    Resolve(module, "ChassisClear", bound.ChassisClear);
    Resolve(module, "ChassisIntrusion", bound.ChassisIntrusion);
    Resolve(module, "HmioGetStatus", bound.HmioGetStatus);
    Resolve(module, "HmioSensorReport", bound.HmioSensorReport);
    Resolve(module, "HmioNextNotice", bound.HmioNextNotice);
    FillMissingEntries(bound);
    lib = bound;
    return true;
}

} // namespace sentinax
