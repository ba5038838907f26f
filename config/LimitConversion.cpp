#include "LimitConversion.h"

#include "LimitItem.h"

#include "hardware/Truncate.h"

#include <climits>
#include <cmath>

namespace sentinax {

namespace {

constexpr int kVcoreLowerForcedPosition = 20;
constexpr int32_t kVcoreLowerForcedValue = 690;

int32_t Clamp32(int64_t value) {
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

int32_t FanLimit(int64_t base, int64_t step, int position) {
    return Clamp32(base + step * position);
}

// Each expression keeps the operation order of the formula: the position as a
// double, times the constant, plus the offset, and for volts times 1000.
int32_t Degrees(int position, double offset) {
    return TruncateToInt32(static_cast<double>(position) * 0.5 + offset);
}

int32_t Millivolts(double position, double step, double offset) {
    return TruncateToInt32((position * step + offset) * 1000.0);
}

} // namespace

int32_t LimitFromPosition(int index, int position, const BoardProfile& profile) {
    const double p = static_cast<double>(position);
    // The +12 V adjusters count every position twice, as an integer first.
    const double twiceP = static_cast<double>(2 * static_cast<int64_t>(position));
    switch (static_cast<LimitItem>(index)) {
    case LimitItem::CpuTempUpper:
    case LimitItem::SysTempUpper:
        return Degrees(position, 50.0);
    case LimitItem::CpuTempLower:
    case LimitItem::SysTempLower:
        return Degrees(position, 0.0);
    case LimitItem::CpuFanUpper:
    case LimitItem::PsFanUpper:
        return FanLimit(5000, 70, position);
    case LimitItem::SysFanUpper:
        return FanLimit(profile.SysFanUpperBase, 70, position);
    case LimitItem::CpuFanLower:
    case LimitItem::SysFanLower:
    case LimitItem::PsFanLower:
        return FanLimit(0, 50, position);
    case LimitItem::VcoreUpper:
        return Millivolts(p, 0.01, 2.0);
    case LimitItem::VcoreLower:
        return Millivolts(p, 0.01, 0.5);
    case LimitItem::V33Upper:
        return Millivolts(p, 0.006, 3.3);
    case LimitItem::V33Lower:
        return Millivolts(p, 0.006, 2.7);
    case LimitItem::V5Upper:
        return Millivolts(p, 0.01, 5.0);
    case LimitItem::V5Lower:
        return Millivolts(p, 0.01, 4.0);
    case LimitItem::V12Upper:
        return Millivolts(twiceP, 0.01, 12.0);
    case LimitItem::V12Lower:
        return Millivolts(twiceP, 0.01, 10.0);
    }
    return 0;
}

Thresholds ConvertLimits(const AppSettings& settings, const BoardProfile& profile,
                         AdjusterAccess& adjusters) {
    Thresholds limits;
    const auto fromPosition = [&](LimitItem item) {
        const int i = static_cast<int>(item);
        limits[i] =
            LimitFromPosition(i, settings.LimitPosition[static_cast<std::size_t>(i)], profile);
    };
    const auto forced = [&](LimitItem item, int position, int32_t value) {
        const int i = static_cast<int>(item);
        adjusters.SetSliderPosition(std::string(kLimitItems[static_cast<std::size_t>(i)].Name),
                                    position);
        limits[i] = value;
    };

    if (profile.CpuTempLimitOverride)
        forced(LimitItem::CpuTempUpper, profile.CpuTempLimitOverride->Position,
               profile.CpuTempLimitOverride->Value);
    else
        fromPosition(LimitItem::CpuTempUpper);

    for (LimitItem item : {LimitItem::CpuTempLower, LimitItem::SysTempUpper,
                           LimitItem::SysTempLower, LimitItem::CpuFanUpper})
        fromPosition(item);

    if (profile.CpuFanLimitOverride)
        forced(LimitItem::CpuFanLower, profile.CpuFanLimitOverride->Position,
               profile.CpuFanLimitOverride->Value);
    else
        fromPosition(LimitItem::CpuFanLower);

    for (LimitItem item : {LimitItem::SysFanUpper, LimitItem::SysFanLower, LimitItem::PsFanUpper,
                           LimitItem::PsFanLower, LimitItem::VcoreUpper})
        fromPosition(item);

    if (profile.VcoreLowerOverride)
        forced(LimitItem::VcoreLower, kVcoreLowerForcedPosition, kVcoreLowerForcedValue);
    else
        fromPosition(LimitItem::VcoreLower);

    for (LimitItem item : {LimitItem::V33Upper, LimitItem::V33Lower, LimitItem::V5Upper,
                           LimitItem::V5Lower, LimitItem::V12Upper, LimitItem::V12Lower})
        fromPosition(item);
    return limits;
}

} // namespace sentinax
