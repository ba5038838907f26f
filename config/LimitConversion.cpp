#include "LimitConversion.h"

#include "LimitItem.h"
#include "LimitScale.h"

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

} // namespace

int32_t LimitFromPosition(int index, int position, const BoardProfile& profile) {
    if (index < 0 || index >= kLimitCount)
        return 0;
    const LimitScale& scale = kLimitScales[static_cast<std::size_t>(index)];
    switch (scale.Unit) {
    case LimitUnit::Celsius:
        return TruncateToInt32(ScaledValue(scale, position));
    case LimitUnit::Rpm:
        return Clamp32(ScaledRpm(scale, position, profile.SysFanUpperBase));
    case LimitUnit::Volts:
        return TruncateToInt32(ScaledValue(scale, position) * 1000.0);
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
