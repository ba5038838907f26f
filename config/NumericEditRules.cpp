#include "NumericEditRules.h"

#include <climits>

namespace sentinax {

uint16_t AcceptedMask(int minimum) {
    return minimum < 0 ? 17 : 1;
}

uint16_t CharacterClass(char32_t c) {
    if (c < 32)
        return kControlCharacterClass;
    if (c >= '0' && c <= '9')
        return kDigitClass;
    const char32_t upper = (c >= 'a' && c <= 'z') ? c - ('a' - 'A') : c;
    if (upper == 'E')
        return kExponentClass;
    if ((upper >= 'A' && upper <= 'D') || upper == 'F' || upper == 'X')
        return kHexLetterClass;
    if (upper >= 'A' && upper <= 'Z')
        return kLetterClass;
    switch (c) {
    case '-':
        return kMinusClass;
    case '.':
        return kPointClass;
    case '_':
        return kUnderscoreClass;
    default:
        return kOtherClass;
    }
}

int64_t LeadingNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT32_MAX)
            value = int64_t(INT32_MAX) + 1; // held there, beyond every range
    }
    return negative ? -value : value;
}

HeldValue HoldInRange(std::string_view text, int minimum, int maximum) {
    const int64_t value = LeadingNumber(text);
    if (value < minimum)
        return {minimum, true};
    if (value > maximum)
        return {maximum, true};
    return {static_cast<int>(value), false};
}

int TickSpacing(int minimum, int maximum, int divisor) {
    if (divisor <= 0)
        return 1;
    const int spacing = (maximum - minimum) / divisor;
    return spacing > 0 ? spacing : 1;
}

} // namespace sentinax
