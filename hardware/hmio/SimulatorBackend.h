// The back end that plays a scenario (docs/hmio-scenarios.md): every entry
// point answers from the scenario's sequences, the DMI table is synthesized
// from the board identity (or read from a raw file), and the embedded
// controller is emulated behind ports 0x62/0x66.
#pragma once

#include "Backend.h"
#include "EcEmulator.h"
#include "Scenario.h"

namespace hmio {

class SimulatorBackend : public Backend {
public:
    explicit SimulatorBackend(Scenario scenario);

    uint32_t LoadNTHMIO() override;
    void UnloadNTHMIO() override {}
    uint32_t GetVid() override { return scenario_.Vendor; }
    DmiData ReadDmi() override;
    uint8_t DetectLM78() override;
    uint8_t DetectLM75(uint8_t* chipParams, uint8_t selector) override;
    uint32_t ValueRAM(int32_t* rawValues) override;
    uint8_t ReadPort(uint16_t port) override { return ec_.Read(port); }
    void WritePort(uint16_t port, uint8_t value) override { ec_.Write(port, value); }
    uint8_t ChassisIntrusion() override;
    void ChassisClear() override;
    void GetStatus(HmioStatus& status) override { status.CpuTempCrit = scenario_.CpuTempCrit; }

private:
    Scenario scenario_;
    EcEmulator ec_;
    bool latch_ = false;
};

} // namespace hmio
