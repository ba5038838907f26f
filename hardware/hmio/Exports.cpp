// The C entry points of libhmio.so: the fourteen and the three optional ones.
// Everything else in the library is hidden (-fvisibility=hidden and the
// version script exports.map).
#pragma GCC visibility push(default)
#include "hmio.h"
#pragma GCC visibility pop

#include "Library.h"

namespace {
// Runs one call on the process's Library under its lock.
template <typename Fn> auto Call(Fn fn) {
    std::unique_lock<std::mutex> lock;
    return fn(hmio::Instance(lock));
}
} // namespace

extern "C" {

uint32_t GetVid(void) {
    return Call([](hmio::Library& l) { return l.GetVid(); });
}
uint8_t DetectLM78(void) {
    return Call([](hmio::Library& l) { return l.DetectLM78(); });
}
uint8_t DetectLM75(uint8_t* chipParams, uint8_t selector) {
    return Call([&](hmio::Library& l) { return l.DetectLM75(chipParams, selector); });
}
void EnableSMSCHWMonitor(void) {
    Call([](hmio::Library& l) { l.EnableSMSCHWMonitor(); });
}
void ApEnableATIISA(void) {
    Call([](hmio::Library& l) { l.ApEnableATIISA(); });
}
void ValueRAM(int32_t* rawValues) {
    Call([&](hmio::Library& l) { l.ValueRAM(rawValues); });
}
uint32_t LoadNTHMIO(void) {
    return Call([](hmio::Library& l) { return l.LoadNTHMIO(); });
}
void UnloadNTHMIO(void) {
    Call([](hmio::Library& l) { l.UnloadNTHMIO(); });
}
uint32_t GetDMILength(uint8_t* entryPoint) {
    return Call([&](hmio::Library& l) { return l.GetDMILength(entryPoint); });
}
void GetDMIData(uint8_t* buffer) {
    Call([&](hmio::Library& l) { l.GetDMIData(buffer); });
}
uint32_t ReadPort(uint16_t port) {
    return Call([&](hmio::Library& l) { return l.ReadPort(port); });
}
void WritePort(uint16_t port, uint8_t value) {
    Call([&](hmio::Library& l) { l.WritePort(port, value); });
}
void ChassisClear(void) {
    Call([](hmio::Library& l) { l.ChassisClear(); });
}
uint8_t ChassisIntrusion(void) {
    return Call([](hmio::Library& l) { return l.ChassisIntrusion(); });
}
void HmioGetStatus(HmioStatus* status) {
    Call([&](hmio::Library& l) { l.GetStatus(status); });
}
uint32_t HmioSensorReport(char* buffer, uint32_t size) {
    return Call([&](hmio::Library& l) { return l.SensorReport(buffer, size); });
}
uint32_t HmioNextNotice(char* buffer, uint32_t size) {
    return Call([&](hmio::Library& l) { return l.NextNotice(buffer, size); });
}

} // extern "C"
