#include "EcTransaction.h"

namespace sentinax {

namespace {

uint8_t Status(const HardwareLibrary& lib) {
    return static_cast<uint8_t>(lib.ReadPort(kEcStatusPort) & 0xFF);
}

// Waits for the input buffer to drain. The controller normally takes a byte
// within microseconds; one that never does must not hang the monitor, so the
// wait is bounded like the read phase and the exchange is abandoned after it.
bool WaitInputEmpty(const HardwareLibrary& lib) {
    for (int polls = 0; polls < kEcPollLimit; ++polls) {
        if (!(Status(lib) & kEcInputFull))
            return true;
    }
    return false;
}

bool WaitOutputFull(const HardwareLibrary& lib) {
    for (int polls = 1; polls <= kEcPollLimit; ++polls) {
        if (Status(lib) & kEcOutputFull)
            return polls < kEcPollLimit;
    }
    return false;
}

} // namespace

bool EcTransaction(const HardwareLibrary& lib, const uint8_t* command, int length, bool writeOnly,
                   uint8_t* buffer) {
    const int toRead = writeOnly ? 0 : buffer[0];
    if (length == 0) {
        buffer[0] = 0;
        return true;
    }
    if (Status(lib) & kEcOutputFull)
        lib.ReadPort(kEcDataPort); // stale byte
    lib.WritePort(kEcStatusPort, command[0]);
    for (int i = 1; i < length; ++i) {
        if (!WaitInputEmpty(lib))
            return false;
        lib.WritePort(kEcDataPort, command[i]);
    }
    if (writeOnly)
        return true;
    for (int i = 0; i < toRead; ++i) {
        if (!WaitOutputFull(lib))
            return false;
        buffer[i] = static_cast<uint8_t>(lib.ReadPort(kEcDataPort) & 0xFF);
    }
    return true;
}

} // namespace sentinax
