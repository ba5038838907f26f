// Limit evaluation of the nine readouts: counts consecutive out-of-range
// evaluations per item, makes the readout blink once an item has been out of
// range three times in a row, and writes one warning line per episode.
//
// The counter is a signed 8-bit value that wraps (127 -> -128): during a very
// long episode blinking pauses while it is negative, and the line is written
// again each time it climbs back to 3 (every 256 evaluations). The four
// voltages share one blink phase, so they blink in step.
#pragma once

#include "WarningLog.h"
#include "config/Thresholds.h"
#include "hardware/SensorTypes.h"

#include <array>
#include <cstdint>

namespace sentinax {

// Colours of a digit display, 0x00BBGGRR (red in the low byte).
struct ItemColours {
    uint32_t Unlit = 0;
    uint32_t Lit = 0;
    bool operator==(const ItemColours&) const = default;
};

// Lit: red 150, green 255, blue 255. Also what a display shows before its
// first evaluation.
inline constexpr ItemColours kInRangeColours{0, 16777110};
// Warning, blink phase off: the digits vanish into the black.
inline constexpr ItemColours kWarningBlackColours{0, 0};
// Warning, blink phase on: red digits.
inline constexpr ItemColours kWarningRedColours{0, 0xFF};

struct EvaluationResult {
    ItemColours Colours = kInRangeColours; // what the item's display must show now
    bool Logged = false;                   // a warning line was written on this evaluation
    // The counter stands at exactly 3 after an out-of-range evaluation (the
    // moment the line is written); for the CPU temperature the caller then
    // runs the shutdown dialog.
    bool ReachedThree = false;
    bool CountAtLeastThree = false; // counter >= 3 (signed) now: front-panel colour "R"
};

class ThresholdEvaluator {
public:
    // log: where warning lines go; must outlive the evaluator.
    explicit ThresholdEvaluator(WarningLog& log);

    // One evaluation of item with value in its unit (mV, whole °C, rpm;
    // temperatures always in Celsius). In range means lower < value < upper.
    // fanWarnFrozen holds the counter of the CPU and system fans still; it is
    // ignored for every other item.
    EvaluationResult Evaluate(ReadoutItem item, int32_t value, int32_t lower, int32_t upper,
                              bool fanWarnFrozen);
    // The same with the item's two limits taken from thresholds.
    EvaluationResult Evaluate(ReadoutItem item, int32_t value, const Thresholds& thresholds,
                              bool fanWarnFrozen);

    // Set from the third out-of-range evaluation in a row until an in-range
    // evaluation; an item that is not evaluated keeps its flag.
    bool WarningActive(ReadoutItem item) const;
    bool AnyWarningActive() const;
    // Consecutive out-of-range evaluations, wrapped to signed 8 bits; 0 while
    // in range.
    int8_t ViolationCounter(ReadoutItem item) const;

private:
    struct ItemState {
        int8_t Counter = 0;
        bool Warning = false;
        ItemColours Colours = kInRangeColours;
    };

    // Index of the item's blink phase: the voltages share slot 0.
    static int PhaseSlot(ReadoutItem item);

    WarningLog& log_;
    std::array<ItemState, kReadoutCount> items_{};
    std::array<bool, kReadoutCount> blinkPhase_{};
};

// The lower and upper limit of an item, in the item's unit.
struct ItemLimits {
    int32_t Lower = 0;
    int32_t Upper = 0;
};
ItemLimits LimitsOf(const Thresholds& thresholds, ReadoutItem item);

} // namespace sentinax
