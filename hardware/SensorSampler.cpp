#include "SensorSampler.h"

#include "EcTransaction.h"

#include <algorithm>

namespace sentinax {

namespace {

constexpr double kTwentySixtyThirds = 0.31746031746031744;
constexpr int32_t kWindowFanMax = 8500; // a sample outside 1000..8500 rpm is taken again
constexpr int32_t kWindowFanMin = 1000;

struct FanBand {
    int32_t low;
    int32_t high;
    int32_t replacement;
};

// Accepted CPU and system fan bands by CPU temperature: up to 55, 56-60,
// 61-65, above 65 degrees.
constexpr FanBand kCpuBands[4] = {
    {2900, 3500, 3200}, {3400, 4000, 3700}, {4200, 4800, 4500}, {5000, 6000, 5400}};
constexpr FanBand kSysBands[4] = {
    {2800, 3500, 3100}, {3800, 4400, 4100}, {5000, 6000, 5400}, {5000, 6000, 5400}};

int BandIndex(uint8_t temp) {
    if (temp <= 55)
        return 0;
    if (temp <= 60)
        return 1;
    if (temp <= 65)
        return 2;
    return 3;
}

// The integer product first (wide enough never to overflow), then the factor.
int32_t Scaled(int32_t value, int64_t multiplier, double factor) {
    return TruncateToInt32(static_cast<double>(value * multiplier) * factor);
}

} // namespace

int32_t ConvertFiveVolt(const BoardProfile& profile, RawValues& raw) {
    switch (profile.FiveVoltRule) {
    case FiveVoltRuleKind::AsRead:
        break;
    case FiveVoltRuleKind::CopySlot4:
        raw[RawSlot::V5] = raw[4];
        break;
    case FiveVoltRuleKind::Slot4Times1_5:
        raw[RawSlot::V5] = Scaled(raw[4], 1, 1.5);
        break;
    case FiveVoltRuleKind::Slot5Times1_6:
        raw[RawSlot::V5] = Scaled(raw[5], 1, 1.6);
        break;
    case FiveVoltRuleKind::Slot5Times1_5:
        raw[RawSlot::V5] = Scaled(raw[5], 1, 1.5);
        break;
    case FiveVoltRuleKind::Slot6Times1_61:
        raw[RawSlot::V5] = Scaled(raw[6], 1, 1.61);
        break;
    case FiveVoltRuleKind::Slot3Times1_6:
        raw[RawSlot::V5] = Scaled(raw[RawSlot::V5], 1, 1.6);
        break;
    case FiveVoltRuleKind::Slot3Times1_5:
        raw[RawSlot::V5] = Scaled(raw[RawSlot::V5], 1, 1.5);
        break;
    case FiveVoltRuleKind::Slot1DoubledTimes1_61:
        raw[RawSlot::V5] = Scaled(raw[1], 2, 1.61);
        break;
    }
    return raw[RawSlot::V5];
}

int32_t ConvertTwelveVolt(const BoardProfile& profile, RawValues& raw) {
    int32_t& v = raw[profile.V12Slot];
    switch (profile.TwelveVoltRule) {
    case TwelveVoltRuleKind::Times6_6:
        v = Scaled(v, 1, 6.6);
        break;
    case TwelveVoltRuleKind::Times24Then0_3125:
        v = Scaled(v, 24, 0.3125);
        break;
    case TwelveVoltRuleKind::Times12Then0_3125:
        v = Scaled(v, 12, 0.3125);
        break;
    case TwelveVoltRuleKind::Times24Then20_63:
        v = Scaled(v, 24, kTwentySixtyThirds);
        break;
    case TwelveVoltRuleKind::Times12Then20_63:
        if (profile.V12Slot != 4)
            v = Scaled(v, 12, kTwentySixtyThirds);
        break;
    }
    v = TruncateToInt32(static_cast<double>(v) - profile.TwelveVoltOffset);
    return v;
}

int32_t FanCountToRpm(uint8_t count) {
    if (count == 255 || count == 0)
        return 0;
    return (675000 / count) / 2;
}

SensorSampler::SensorSampler(const BoardProfile& profile) : profile_(profile) {
    fanWarnFrozen_ = profile.FanWarnTempGate == FanWarnTempGateKind::Always;
}

void SensorSampler::Read(const HardwareLibrary& lib, SensorState& s) const {
    s.NoReading = 0;
    if (profile_.SensorSource == SensorSourceKind::EmbeddedController) {
        // A reply that does not come within the bounded waits is no reading:
        // the buffer would still hold the byte count or an old value, so the
        // slot keeps what it had and the item is marked as unread.
        auto exchange = [&](uint8_t command, uint8_t argument, ReadoutItem item,
                            uint8_t(&buffer)[2]) {
            const uint8_t bytes[2] = {command, argument};
            buffer[0] = 2;
            buffer[1] = 0;
            const bool answered = EcTransaction(lib, bytes, 2, false, buffer);
            if (!answered)
                s.NoReading |= 1u << static_cast<int>(item);
            return answered;
        };
        uint8_t buffer[2];
        if (exchange(0x13, 0x00, ReadoutItem::CpuTemp, buffer))
            s.Params[profile_.CpuTempSlot] = buffer[0];
        if (exchange(0x13, 0x14, ReadoutItem::CpuFan, buffer))
            s.Raw[profile_.CpuFanSlot] = (buffer[1] * 256 + buffer[0]) * 3;
        if (exchange(0x14, 0x00, ReadoutItem::SysTemp, buffer))
            s.Raw[RawSlot::SystemTemp] = buffer[0];
        return;
    }
    s.Params[0] = static_cast<uint8_t>(profile_.ChipCommand & 0xFF);
    s.Raw[RawSlot::SystemTemp] = profile_.ChipCommand;
    lib.DetectLM75(s.Params.data(), profile_.ChipSelector);
    lib.ValueRAM(s.Raw.data());
}

bool SensorSampler::FilterCpuFan(SensorState& s) {
    const int samples = std::max(1, profile_.SamplesPerInterval);
    int32_t& slot = s.Raw[profile_.CpuFanSlot];
    const int32_t sample = slot;
    ++position_;

    if (profile_.CpuFanFilter == CpuFanFilterKind::Average) {
        if (position_ >= samples) {
            slot = static_cast<int32_t>((static_cast<int64_t>(sum_) + sample) / samples);
            position_ = 0;
            sum_ = 0;
            return true;
        }
        sum_ += sample;
        return false;
    }

    // WindowMinAverage: implausible samples are taken again; the result leans
    // towards the slowest sample of the interval.
    window_.resize(samples, 0);
    int32_t& entry = window_[position_ - 1];
    if (position_ < samples) {
        if (sample != 0 && (sample > kWindowFanMax || sample < kWindowFanMin)) {
            entry = 0;
            --position_;
            return false;
        }
        entry = sample;
        sum_ += sample;
        return false;
    }
    entry = sample;
    sum_ += sample;
    const int32_t avg = sum_ / samples;
    int32_t min = avg;
    for (int32_t v : window_)
        min = std::min(min, v);
    slot = static_cast<int32_t>((static_cast<int64_t>(min) + avg) / 2);
    position_ = 0;
    sum_ = 0;
    std::fill(window_.begin(), window_.end(), 0);
    return true;
}

void SensorSampler::RearrangeTemperatures(SensorState& s, bool firstTick) const {
    ChipParams& p = s.Params;
    RawValues& raw = s.Raw;
    if (profile_.CpuTempFloorCheck) {
        uint8_t& cpu = p[profile_.CpuTempSlot];
        if (firstTick) {
            if (!(cpu > raw[RawSlot::SystemTemp]))
                cpu = static_cast<uint8_t>((raw[RawSlot::SystemTemp] & 0xFF) + 3);
        } else if (cpu < s.LastShown.SystemTemp + 2) {
            cpu = static_cast<uint8_t>(s.LastShown.CpuTempRaw & 0xFF);
        }
    }
    switch (profile_.TempSourceRule) {
    case TempSourceRuleKind::Direct:
        break;
    case TempSourceRuleKind::SwapWithSystem:
        p[1] = p[0];
        p[0] = static_cast<uint8_t>(raw[RawSlot::SystemTemp] & 0xFF);
        raw[RawSlot::SystemTemp] = p[1];
        break;
    case TempSourceRuleKind::SecondByteAsCpu:
        p[0] = p[1];
        break;
    case TempSourceRuleKind::FromRawSlots:
        p[0] = static_cast<uint8_t>(raw[5] & 0xFF);
        p[1] = static_cast<uint8_t>(raw[6] & 0xFF);
        break;
    }
    if (profile_.SystemTempFromChip)
        raw[RawSlot::SystemTemp] = p[1];
}

int32_t SensorSampler::Emulate(int32_t value, uint8_t cpuTemp, bool cpuFan) {
    int& acc = cpuFan ? cpuJitter_ : sysJitter_;
    switch (profile_.FanEmulation) {
    case FanEmulationKind::None:
        return value;
    case FanEmulationKind::Jitter:
        acc += 16;
        if (acc > 50)
            acc = 0;
        return value != 0 ? value + acc : value;
    case FanEmulationKind::BandedJitter: {
        if (value == 0)
            return value;
        const FanBand& band = (cpuFan ? kCpuBands : kSysBands)[BandIndex(cpuTemp)];
        if (value < band.low || value > band.high)
            value = band.replacement;
        if (cpuFan) {
            acc += 16;
            if (acc > 50)
                acc = 4;
        } else {
            acc += 26;
            if (acc > 70)
                acc = 4;
        }
        return value + acc;
    }
    }
    return value;
}

int32_t SensorSampler::ConvertCpuFan(SensorState& s) {
    int32_t& slot = s.Raw[profile_.CpuFanSlot];
    if (profile_.ChipSelector == 1)
        slot = FanCountToRpm(s.Params[2]);
    slot = Emulate(slot, s.Params[profile_.CpuTempSlot], true);
    return slot;
}

int32_t SensorSampler::ConvertSysFan(SensorState& s) {
    int32_t& slot = s.Raw[profile_.SysFanSlot];
    if (profile_.ChipSelector == 1) {
        if (slot != 0)
            sysFanSeen_ = true;
        slot = sysFanSeen_ ? TruncateToInt32(s.Raw[profile_.CpuFanSlot] * 0.8) : 0;
    }
    slot = Emulate(slot, s.Params[profile_.CpuTempSlot], false);
    return slot;
}

void SensorSampler::UpdateFanWarnFrozen(const SensorState& s) {
    const uint8_t t = s.Params[profile_.CpuTempSlot];
    switch (profile_.FanWarnTempGate) {
    case FanWarnTempGateKind::Below48:
        fanWarnFrozen_ = t < 48;
        break;
    case FanWarnTempGateKind::Below41:
        fanWarnFrozen_ = t < 41;
        break;
    case FanWarnTempGateKind::None:
    case FanWarnTempGateKind::Always:
        break;
    }
}

} // namespace sentinax
