#include "EcEmulator.h"

namespace hmio {

uint8_t EcEmulator::Read(uint16_t port) {
    if (port == kStatusPort) {
        uint8_t status = 0;
        if (inputBusy_ > 0) {
            status |= kInputFull;
            --inputBusy_;
        }
        if (!output_.empty() && !scenario_.EcNoOutput) {
            if (outputDelay_ > 0)
                --outputDelay_;
            else
                status |= kOutputFull;
        }
        return status;
    }
    if (port == kDataPort) {
        if (output_.empty() || scenario_.EcNoOutput)
            return 0x00;
        const uint8_t byte = output_.front();
        output_.pop_front();
        outputDelay_ = scenario_.EcOutputDelayPolls;
        return byte;
    }
    return 0;
}

void EcEmulator::Write(uint16_t port, uint8_t value) {
    if (port == kStatusPort) {
        // A new command abandons whatever reply was still unread.
        command_.assign(1, value);
        output_.clear();
        ByteWritten();
        return;
    }
    if (port != kDataPort)
        return;
    ByteWritten();
    if (command_.size() != 1)
        return; // data without a command: ignored
    command_.push_back(value);
    const auto found = scenario_.Ec.find(static_cast<uint16_t>((command_[0] << 8) | value));
    if (found != scenario_.Ec.end()) {
        const std::vector<uint8_t> reply = found->second.Replies.Next();
        output_.assign(reply.begin(), reply.end());
        outputDelay_ = scenario_.EcOutputDelayPolls;
    }
}

void EcEmulator::ByteWritten() {
    inputBusy_ = scenario_.EcInputBusyPolls;
}

} // namespace hmio
