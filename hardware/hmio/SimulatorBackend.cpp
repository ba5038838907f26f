#include "SimulatorBackend.h"

#include "TextParse.h"

namespace hmio {

namespace {
// Where the synthesized table pretends to live, as on an SMBIOS 2.x board.
constexpr uint32_t kSimulatedTableAddress = 0x000F0800;
constexpr uint8_t kSimulatedRevision = 0x28;
} // namespace

SimulatorBackend::SimulatorBackend(Scenario scenario)
    : scenario_(std::move(scenario)), ec_(scenario_) {}

uint32_t SimulatorBackend::LoadNTHMIO() {
    return static_cast<uint32_t>(scenario_.Load.Next());
}

DmiData SimulatorBackend::ReadDmi() {
    DmiData dmi;
    if (scenario_.NoDmi)
        return dmi;
    if (scenario_.DmiTableFile) {
        const auto bytes = ReadWholeFile(*scenario_.DmiTableFile);
        if (!bytes)
            return dmi;
        dmi.Table.assign(bytes->begin(), bytes->end());
    } else if (scenario_.HasBoard) {
        dmi.Table = BuildBoardTable({scenario_.Manufacturer, scenario_.Product, scenario_.Version});
    } else {
        return dmi;
    }
    dmi.EntryPoint = MakeEntryPoint(dmi.Table.size(), kSimulatedTableAddress,
                                    CountStructures(dmi.Table), kSimulatedRevision);
    return dmi;
}

uint8_t SimulatorBackend::DetectLM78() {
    return static_cast<uint8_t>(scenario_.Lm78.Next());
}

uint8_t SimulatorBackend::DetectLM75(uint8_t* chipParams, uint8_t /*selector*/) {
    const auto answer = static_cast<uint8_t>(scenario_.Lm75.Next());
    if (answer == 0)
        return 0; // a silent source writes nothing
    for (size_t i = 0; i < scenario_.Params.size(); ++i) {
        if (!scenario_.Params[i].Empty())
            chipParams[i] = static_cast<uint8_t>(scenario_.Params[i].Next());
    }
    return answer;
}

uint32_t SimulatorBackend::ValueRAM(int32_t* rawValues) {
    uint32_t written = 0;
    for (size_t i = 0; i < scenario_.Slots.size(); ++i) {
        if (scenario_.Slots[i].Empty())
            continue;
        rawValues[i] = static_cast<int32_t>(scenario_.Slots[i].Next());
        written |= 1u << i;
    }
    return written;
}

// The scenario's chassis values are switch events; the latch keeps an opening
// until ChassisClear resets it (when the scenario lets it).
uint8_t SimulatorBackend::ChassisIntrusion() {
    if (scenario_.Chassis.Next(0) != 0)
        latch_ = true;
    return latch_ ? 1 : 0;
}

void SimulatorBackend::ChassisClear() {
    if (scenario_.ChassisClearWorks)
        latch_ = false;
}

} // namespace hmio
