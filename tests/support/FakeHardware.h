// A hardware library double: a HardwareLibrary table whose entries record each
// call in order and answer from scripted sequences (the last answer repeats).
// One instance at a time; Reset() before each test.
#pragma once

#include "hardware/HardwareLibrary.h"
#include "hardware/SensorTypes.h"

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace sentinax::test {

struct FakeHardware {
    // Answers, consumed one per call; the last one repeats.
    std::deque<uint8_t> Lm78Answers{1};
    std::deque<uint8_t> Lm75Answers{1};
    uint32_t LoadResult = 1;
    uint32_t Vid = 0x1022;
    // Bytes DetectLM75 writes into the block (others are left alone).
    std::map<int, uint8_t> Lm75Bytes{{0, 45}};
    // Slots ValueRAM writes on every call.
    std::map<int, int32_t> RawSlots{{0, 1350}, {2, 3300}, {3, 5000}, {4, 12000},
                                    {7, 35},   {8, 2700}, {9, 1800}, {10, 2100}};
    std::vector<uint8_t> Dmi;              // structure table returned by GetDMIData
    std::deque<uint8_t> ChassisAnswers{0}; // the intrusion latch, one per call
    // The optional entry points: the read status returned by every
    // HmioGetStatus, and the messages HmioNextNotice hands out in turn.
    HmioStatus Status{};
    std::deque<std::string> Notices;

    // Embedded controller behind the two ports: the command byte and the
    // second byte select a response; the status answers output-full after
    // ObfDelay polls, input-full for IbfPolls polls after each write.
    std::map<std::pair<uint8_t, uint8_t>, std::vector<uint8_t>> EcResponses;
    int ObfDelay = 0;
    int IbfPolls = 0;
    bool EcStuck = false; // output-full never comes

    std::vector<std::string> Calls;                               // entry point names in call order
    std::vector<std::array<uint8_t, kChipParamCount>> Lm75Inputs; // block as passed in
    std::vector<int32_t> ValueRamEntry7;                          // entry 7 as passed in
    int StatusReads = 0;

    // A structure table with one base-board structure naming this board.
    static std::vector<uint8_t> BoardDmi(const std::string& product, const std::string& version);

    static FakeHardware& Instance();
    void Reset();
    HardwareLibrary Table() const;
    int Count(const std::string& name) const;

    // EC emulation state.
    std::vector<uint8_t> ecCommand;
    std::vector<uint8_t> ecOut;
    int ecObfWait = 0;
    int ecIbfWait = 0;
};

} // namespace sentinax::test
