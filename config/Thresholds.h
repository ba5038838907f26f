// The 18 limits the evaluation compares readings with, in LimitItem order:
// temperatures in whole °C (whatever unit is shown), fans in rpm, voltages in
// millivolts. Zero until ConvertLimits has run.
#pragma once

#include "AppSettings.h"

#include <array>
#include <cstdint>

namespace sentinax {

struct Thresholds {
    int32_t cpuTempUpper = 0;
    int32_t cpuTempLower = 0;
    int32_t sysTempUpper = 0;
    int32_t sysTempLower = 0;
    int32_t cpuFanUpper = 0;
    int32_t cpuFanLower = 0;
    int32_t sysFanUpper = 0;
    int32_t sysFanLower = 0;
    int32_t psFanUpper = 0;
    int32_t psFanLower = 0;
    int32_t vcoreUpper = 0;
    int32_t vcoreLower = 0;
    int32_t v33Upper = 0;
    int32_t v33Lower = 0;
    int32_t v5Upper = 0;
    int32_t v5Lower = 0;
    int32_t v12Upper = 0;
    int32_t v12Lower = 0;

    // The field of a LimitItem index (0..17).
    int32_t& operator[](int index) { return this->*kFields[static_cast<std::size_t>(index)]; }
    int32_t operator[](int index) const { return this->*kFields[static_cast<std::size_t>(index)]; }

    bool operator==(const Thresholds&) const = default;

private:
    static constexpr std::array<int32_t Thresholds::*, kLimitCount> kFields{
        &Thresholds::cpuTempUpper, &Thresholds::cpuTempLower, &Thresholds::sysTempUpper,
        &Thresholds::sysTempLower, &Thresholds::cpuFanUpper,  &Thresholds::cpuFanLower,
        &Thresholds::sysFanUpper,  &Thresholds::sysFanLower,  &Thresholds::psFanUpper,
        &Thresholds::psFanLower,   &Thresholds::vcoreUpper,   &Thresholds::vcoreLower,
        &Thresholds::v33Upper,     &Thresholds::v33Lower,     &Thresholds::v5Upper,
        &Thresholds::v5Lower,      &Thresholds::v12Upper,     &Thresholds::v12Lower,
    };
};

} // namespace sentinax
