#include "FakeHardware.h"

#include <algorithm>
#include <cstring>

namespace sentinax::test {

namespace {

uint8_t Next(std::deque<uint8_t>& answers) {
    if (answers.empty())
        return 0;
    const uint8_t value = answers.front();
    if (answers.size() > 1)
        answers.pop_front();
    return value;
}

FakeHardware& F() {
    return FakeHardware::Instance();
}

uint32_t GetVid() {
    F().Calls.push_back("GetVid");
    return F().Vid;
}
uint8_t DetectLM78() {
    F().Calls.push_back("DetectLM78");
    return Next(F().Lm78Answers);
}
uint8_t DetectLM75(uint8_t* params, uint8_t) {
    F().Calls.push_back("DetectLM75");
    std::array<uint8_t, kChipParamCount> in{};
    std::memcpy(in.data(), params, in.size());
    F().Lm75Inputs.push_back(in);
    const uint8_t answer = Next(F().Lm75Answers);
    if (answer)
        for (auto [index, value] : F().Lm75Bytes)
            params[index] = value;
    return answer;
}
void EnableSMSCHWMonitor() {
    F().Calls.push_back("EnableSMSCHWMonitor");
}
void ApEnableATIISA() {
    F().Calls.push_back("ApEnableATIISA");
}
void ValueRAM(int32_t* raw) {
    F().Calls.push_back("ValueRAM");
    F().ValueRamEntry7.push_back(raw[7]);
    for (auto [slot, value] : F().RawSlots)
        raw[slot] = value;
}
uint32_t LoadNTHMIO() {
    F().Calls.push_back("LoadNTHMIO");
    return F().LoadResult;
}
void UnloadNTHMIO() {
    F().Calls.push_back("UnloadNTHMIO");
}
uint32_t GetDMILength(uint8_t* entry) {
    F().Calls.push_back("GetDMILength");
    std::memset(entry, 0, 20);
    return static_cast<uint32_t>(F().Dmi.size());
}
void GetDMIData(uint8_t* buffer) {
    F().Calls.push_back("GetDMIData");
    std::copy(F().Dmi.begin(), F().Dmi.end(), buffer);
}
uint32_t ReadPort(uint16_t port) {
    FakeHardware& f = F();
    if (port == 0x66) {
        ++f.StatusReads;
        uint8_t status = 0;
        if (f.ecIbfWait > 0) {
            --f.ecIbfWait;
            status |= 0x02;
        }
        if (!f.ecOut.empty() && !f.EcStuck) {
            if (f.ecObfWait > 0)
                --f.ecObfWait;
            else
                status |= 0x01;
        }
        return status;
    }
    if (port == 0x62) {
        if (f.ecOut.empty())
            return 0;
        const uint8_t b = f.ecOut.front();
        f.ecOut.erase(f.ecOut.begin());
        f.ecObfWait = f.ObfDelay;
        return b;
    }
    return 0xFF;
}
void WritePort(uint16_t port, uint8_t value) {
    FakeHardware& f = F();
    if (port == 0x66) {
        f.ecCommand = {value};
        f.ecOut.clear();
    } else if (port == 0x62) {
        f.ecCommand.push_back(value);
    }
    f.ecIbfWait = f.IbfPolls;
    if (f.ecCommand.size() == 2) {
        auto it = f.EcResponses.find({f.ecCommand[0], f.ecCommand[1]});
        if (it != f.EcResponses.end())
            f.ecOut = it->second;
        f.ecObfWait = f.ObfDelay;
    }
}
void ChassisClear() {
    F().Calls.push_back("ChassisClear");
}
uint8_t ChassisIntrusion() {
    F().Calls.push_back("ChassisIntrusion");
    return Next(F().ChassisAnswers);
}

} // namespace

std::vector<uint8_t> FakeHardware::BoardDmi(const std::string& product,
                                            const std::string& version) {
    // type 2, length 8, handle 0x0002, manufacturer 1, product 2, version 3, serial 0
    std::vector<uint8_t> table = {2, 8, 2, 0, 1, 2, 3, 0};
    for (const std::string& text : {std::string("Korvane"), product, version}) {
        table.insert(table.end(), text.begin(), text.end());
        table.push_back(0);
    }
    table.push_back(0);
    const uint8_t end[] = {127, 4, 0xFF, 0xFE, 0, 0};
    table.insert(table.end(), std::begin(end), std::end(end));
    return table;
}

FakeHardware& FakeHardware::Instance() {
    static FakeHardware instance;
    return instance;
}

void FakeHardware::Reset() {
    *this = FakeHardware{};
}

namespace {
void GetStatus(HmioStatus* status) {
    const uint32_t size = status->Size;
    *status = FakeHardware::Instance().Status;
    status->Size = size;
}
uint32_t NextNotice(char* buffer, uint32_t size) {
    auto& notices = FakeHardware::Instance().Notices;
    if (notices.empty())
        return 0;
    const std::string text = notices.front();
    if (size > text.size()) {
        std::memcpy(buffer, text.c_str(), text.size() + 1);
        notices.pop_front();
    }
    return static_cast<uint32_t>(text.size());
}
} // namespace

HardwareLibrary FakeHardware::Table() const {
    HardwareLibrary lib;
    lib.GetVid = GetVid;
    lib.DetectLM78 = DetectLM78;
    lib.DetectLM75 = DetectLM75;
    lib.EnableSMSCHWMonitor = EnableSMSCHWMonitor;
    lib.ApEnableATIISA = ApEnableATIISA;
    lib.ValueRAM = ValueRAM;
    lib.LoadNTHMIO = LoadNTHMIO;
    lib.UnloadNTHMIO = UnloadNTHMIO;
    lib.GetDMILength = GetDMILength;
    lib.GetDMIData = GetDMIData;
    lib.ReadPort = ReadPort;
    lib.WritePort = WritePort;
    lib.ChassisClear = ChassisClear;
    lib.ChassisIntrusion = ChassisIntrusion;
    lib.HmioGetStatus = GetStatus;
    lib.HmioNextNotice = NextNotice;
    return lib;
}

int FakeHardware::Count(const std::string& name) const {
    return static_cast<int>(std::count(Calls.begin(), Calls.end(), name));
}

} // namespace sentinax::test
