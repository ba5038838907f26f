#include "ThresholdEvaluator.h"

#include <algorithm>

namespace sentinax {

namespace {

std::size_t Index(ReadoutItem item) {
    return static_cast<std::size_t>(item);
}

bool IsFrozenFan(ReadoutItem item) {
    return item == ReadoutItem::CpuFan || item == ReadoutItem::SysFan;
}

// Adds one with the wrap of a signed 8-bit counter (127 + 1 = -128).
int8_t WrappingIncrement(int8_t counter) {
    return static_cast<int8_t>(static_cast<uint8_t>(counter) + 1u);
}

} // namespace

ThresholdEvaluator::ThresholdEvaluator(WarningLog& log) : log_(log) {}

int ThresholdEvaluator::PhaseSlot(ReadoutItem item) {
    switch (item) {
    case ReadoutItem::Vcore:
    case ReadoutItem::V33:
    case ReadoutItem::V5:
    case ReadoutItem::V12:
        return static_cast<int>(ReadoutItem::Vcore);
    default:
        return static_cast<int>(item);
    }
}

EvaluationResult ThresholdEvaluator::Evaluate(ReadoutItem item, int32_t value, int32_t lower,
                                              int32_t upper, bool fanWarnFrozen) {
    ItemState& state = items_[Index(item)];
    EvaluationResult result;

    // Both bounds strict: a value on a limit is already a violation.
    if (lower < value && value < upper) {
        state = ItemState{};
        result.Colours = state.Colours;
        return result;
    }

    if (!(fanWarnFrozen && IsFrozenFan(item))) {
        state.Counter = WrappingIncrement(state.Counter);
    }

    // A negative (wrapped) counter counts as below 3: the display keeps its
    // last colours and the warning stays on.
    if (state.Counter >= 3) {
        state.Warning = true;
        bool& phase = blinkPhase_[static_cast<std::size_t>(PhaseSlot(item))];
        state.Colours = phase ? kWarningRedColours : kWarningBlackColours;
        phase = !phase;
        result.CountAtLeastThree = true;

        if (state.Counter == 3) {
            log_.AppendLogLine(FormatItemWarning(item, value, log_.Now()));
            result.Logged = true;
            result.ReachedThree = true;
        }
    }
    result.Colours = state.Colours;
    return result;
}

EvaluationResult ThresholdEvaluator::Evaluate(ReadoutItem item, int32_t value,
                                              const Thresholds& thresholds, bool fanWarnFrozen) {
    const ItemLimits limits = LimitsOf(thresholds, item);
    return Evaluate(item, value, limits.Lower, limits.Upper, fanWarnFrozen);
}

bool ThresholdEvaluator::WarningActive(ReadoutItem item) const {
    return items_[Index(item)].Warning;
}

bool ThresholdEvaluator::AnyWarningActive() const {
    return std::any_of(items_.begin(), items_.end(),
                       [](const ItemState& state) { return state.Warning; });
}

int8_t ThresholdEvaluator::ViolationCounter(ReadoutItem item) const {
    return items_[Index(item)].Counter;
}

ItemLimits LimitsOf(const Thresholds& thresholds, ReadoutItem item) {
    switch (item) {
    case ReadoutItem::Vcore:
        return {thresholds.vcoreLower, thresholds.vcoreUpper};
    case ReadoutItem::CpuTemp:
        return {thresholds.cpuTempLower, thresholds.cpuTempUpper};
    case ReadoutItem::SysTemp:
        return {thresholds.sysTempLower, thresholds.sysTempUpper};
    case ReadoutItem::V33:
        return {thresholds.v33Lower, thresholds.v33Upper};
    case ReadoutItem::V5:
        return {thresholds.v5Lower, thresholds.v5Upper};
    case ReadoutItem::V12:
        return {thresholds.v12Lower, thresholds.v12Upper};
    case ReadoutItem::CpuFan:
        return {thresholds.cpuFanLower, thresholds.cpuFanUpper};
    case ReadoutItem::SysFan:
        return {thresholds.sysFanLower, thresholds.sysFanUpper};
    case ReadoutItem::PowerFan:
        return {thresholds.psFanLower, thresholds.psFanUpper};
    }
    return {};
}

} // namespace sentinax
