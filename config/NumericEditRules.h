// The rules of the Settings dialog's number field and its slider, apart from
// the widgets: which typed characters pass, how a typed number is held inside
// the range, and which slider actions write the slider's position into the
// field.
#pragma once

#include <cstdint>
#include <string_view>

namespace sentinax {

// Classes of typed characters. A character passes when its class shares a bit
// with the field's accepted mask.
constexpr uint16_t kControlCharacterClass = 0xFFFF; // below 32: Backspace, Tab...
constexpr uint16_t kDigitClass = 0x55;
constexpr uint16_t kHexLetterClass = 0x42; // A-D, F, X in either case
constexpr uint16_t kExponentClass = 0x46;  // E in either case
constexpr uint16_t kLetterClass = 2;
constexpr uint16_t kMinusClass = 0x14;
constexpr uint16_t kPointClass = 4;
constexpr uint16_t kUnderscoreClass = 0x28;
constexpr uint16_t kOtherClass = 8;

// A whole-number field accepts digits (mask 1), and a minus sign as well when
// its range reaches below zero (mask 17).
uint16_t AcceptedMask(int minimum);
uint16_t CharacterClass(char32_t c);
inline bool CharacterAccepted(char32_t c, uint16_t mask) {
    return (CharacterClass(c) & mask) != 0;
}

// The number a field's text stands for: its leading digits (after an optional
// minus sign), 0 for none; far too many digits read as the largest number.
int64_t LeadingNumber(std::string_view text);

struct HeldValue {
    int Value = 0;
    bool Clamped = false; // the text stood for a number outside the range
};
// The field's number held inside minimum..maximum.
HeldValue HoldInRange(std::string_view text, int minimum, int maximum);

// One tick mark every (maximum - minimum) / divisor positions (at least 1).
int TickSpacing(int minimum, int maximum, int divisor);

// What a slider action does to the field.
enum class SliderAction {
    Step,     // a line step (arrow keys): the field keeps its number
    Page,     // a page step (a click in the channel, Page Up/Down): the field follows
    Drag,     // the thumb dragged: the field follows
    JumpOrEnd // Home, End, the thumb released: the field keeps its number
};
inline bool FieldFollows(SliderAction action) {
    return action == SliderAction::Page || action == SliderAction::Drag;
}

// The position shown by a reversed (vertical) slider for a value.
inline int Mirrored(int position, int minimum, int maximum) {
    return maximum + minimum - position;
}

} // namespace sentinax
