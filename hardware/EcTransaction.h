// One exchange with the embedded controller through the library's port entry
// points: command/status port 0x66, data port 0x62.
#pragma once

#include "HardwareLibrary.h"

#include <cstdint>

namespace sentinax {

constexpr uint16_t kEcStatusPort = 0x66;
constexpr uint16_t kEcDataPort = 0x62;
constexpr uint8_t kEcOutputFull = 0x01; // a byte waits in the data port
constexpr uint8_t kEcInputFull = 0x02;  // the controller has not taken the last byte
// Status reads allowed while waiting for either bit. A byte is taken only when
// its bit showed within the first kEcPollLimit - 1 reads.
constexpr int kEcPollLimit = 4095;

// Sends `length` command bytes (the first to the command port, the others to
// the data port) and, unless writeOnly, reads buffer[0] bytes back into
// buffer[0..]. A byte that does not come in time ends the exchange, leaving
// the rest of the buffer as it was. Returns true when the exchange completed.
bool EcTransaction(const HardwareLibrary& library, const uint8_t* command, int length,
                   bool writeOnly, uint8_t* buffer);

} // namespace sentinax
