#include "HmSharedBlock.h"

namespace sentinax {

namespace {

// Byte order is fixed by the block, not by the host.
void PutInt32(HmSharedBlock& block, size_t offset, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    for (size_t i = 0; i < 4; ++i)
        block[offset + i] = static_cast<uint8_t>(bits >> (8 * i));
}

int32_t GetInt32(const HmSharedBlock& block, size_t offset) {
    uint32_t bits = 0;
    for (size_t i = 0; i < 4; ++i)
        bits |= static_cast<uint32_t>(block[offset + i]) << (8 * i);
    return static_cast<int32_t>(bits);
}

template <typename T, size_t N> T At(const std::array<T, N>& values, int slot) {
    return slot >= 0 && static_cast<size_t>(slot) < N ? values[static_cast<size_t>(slot)] : T{};
}

} // namespace

HmSharedBlock PackSharedBlock(const RawValues& raw, const ChipParams& params,
                              const BoardProfile& profile) {
    HmSharedBlock block{};
    block[HmSharedOffset::CpuTemp] = At(params, profile.CpuTempSlot);
    block[HmSharedOffset::SecondTemp] = params[1];
    block[HmSharedOffset::SystemTemp] = static_cast<uint8_t>(raw[RawSlot::SystemTemp] & 0xFF);
    PutInt32(block, HmSharedOffset::Vcore, raw[RawSlot::Vcore]);
    PutInt32(block, HmSharedOffset::V33, At(raw, profile.V33Slot));
    PutInt32(block, HmSharedOffset::V5, raw[RawSlot::V5]);
    PutInt32(block, HmSharedOffset::V12, At(raw, profile.V12Slot));
    PutInt32(block, HmSharedOffset::CpuFan, At(raw, profile.CpuFanSlot));
    PutInt32(block, HmSharedOffset::SysFan, At(raw, profile.SysFanSlot));
    PutInt32(block, HmSharedOffset::PowerFan, At(raw, profile.PowerFanSlot));
    return block;
}

HmSharedFields UnpackSharedBlock(const HmSharedBlock& block) {
    HmSharedFields f;
    f.CpuTemp = block[HmSharedOffset::CpuTemp];
    f.SecondTemp = block[HmSharedOffset::SecondTemp];
    f.SystemTemp = block[HmSharedOffset::SystemTemp];
    f.Vcore = GetInt32(block, HmSharedOffset::Vcore);
    f.V33 = GetInt32(block, HmSharedOffset::V33);
    f.V5 = GetInt32(block, HmSharedOffset::V5);
    f.V12 = GetInt32(block, HmSharedOffset::V12);
    f.CpuFan = GetInt32(block, HmSharedOffset::CpuFan);
    f.SysFan = GetInt32(block, HmSharedOffset::SysFan);
    f.PowerFan = GetInt32(block, HmSharedOffset::PowerFan);
    return f;
}

} // namespace sentinax
