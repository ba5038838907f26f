// The state behind the fourteen exported entry points: the chosen back end, the
// DMI table between GetDMILength and GetDMIData, and the call trace.
//
// HMIO_SCENARIO=<file> selects the simulator, otherwise the sysfs back end is
// used (root HMIO_SYSFS_ROOT, default "/"). HMIO_TRACE=<file> appends one line
// per call to that file (format in docs/hmio-scenarios.md).
#pragma once

#include "Backend.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace hmio {

class Library {
public:
    // traceFd: a descriptor opened for appending, or -1; the Library owns it.
    Library(std::unique_ptr<Backend> backend, int traceFd);
    ~Library();
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    // The back end and trace chosen by the environment variables above.
    static std::unique_ptr<Library> FromEnvironment();

    uint32_t GetVid();
    uint8_t DetectLM78();
    uint8_t DetectLM75(uint8_t* chipParams, uint8_t selector);
    void EnableSMSCHWMonitor();
    void ApEnableATIISA();
    void ValueRAM(int32_t* rawValues);
    uint32_t LoadNTHMIO();
    void UnloadNTHMIO();
    uint32_t GetDMILength(uint8_t* entryPoint);
    void GetDMIData(uint8_t* buffer);
    uint32_t ReadPort(uint16_t port);
    void WritePort(uint16_t port, uint8_t value);
    void ChassisClear();
    uint8_t ChassisIntrusion();
    void GetStatus(HmioStatus* status);
    uint32_t SensorReport(char* buffer, uint32_t size);
    uint32_t NextNotice(char* buffer, uint32_t size);

private:
    void Trace(const std::string& line) const;
    bool Tracing() const { return traceFd_ >= 0; }

    std::unique_ptr<Backend> backend_;
    int traceFd_;
    std::vector<uint8_t> dmiTable_; // as read by the last GetDMILength
    std::string pendingNotice_;     // taken from the back end, not yet handed out
    std::string pendingReport_;     // made, not yet handed out whole
};

// The process's Library, made from the environment on first use. Entry points
// hold the returned lock while they call into it.
Library& Instance(std::unique_lock<std::mutex>& lock);
// Drops the current Library so that the next call builds a new one from the
// environment as it is then (tests change the environment between cases).
void ResetInstance();

} // namespace hmio
