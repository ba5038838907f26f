// An emulated embedded controller behind the status/command port 0x66 and the
// data port 0x62, with the usual handshake: status bit 0 = output buffer full
// (a reply byte waits in 0x62), bit 1 = input buffer full (the controller has
// not yet taken the last byte written).
#pragma once

#include "Scenario.h"

#include <cstdint>
#include <deque>
#include <vector>

namespace hmio {

class EcEmulator {
public:
    static constexpr uint16_t kDataPort = 0x62;
    static constexpr uint16_t kStatusPort = 0x66;
    static constexpr uint8_t kOutputFull = 0x01;
    static constexpr uint8_t kInputFull = 0x02;

    // Replies, faults and their sequences live in the scenario, which must
    // outlive the emulator; the reply sequences advance as commands arrive.
    explicit EcEmulator(Scenario& scenario) : scenario_(scenario) {}

    uint8_t Read(uint16_t port);
    void Write(uint16_t port, uint8_t value);

private:
    void ByteWritten();

    Scenario& scenario_;
    std::vector<uint8_t> command_; // bytes of the command under way
    std::deque<uint8_t> output_;   // reply bytes not yet read
    int inputBusy_ = 0;            // status reads left with input-full set
    int outputDelay_ = 0;          // status reads left before output-full shows
};

} // namespace hmio
