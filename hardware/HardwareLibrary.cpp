#include "HardwareLibrary.h"

#include "LibraryLoader.h"

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
    FillMissingEntries(bound);
    lib = bound;
    return true;
}

} // namespace sentinax
