// One shown character of the segment display: its kind, width, lit segments
// and (shared) outlines. SevenSegmentChar, FourteenSegmentChar and ColonChar
// make the three kinds; BuildDigitChars turns a text into the character list.
#pragma once

#include "SegmentTables.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sentinax {

// Style bits of the segment display.
constexpr unsigned kStyleSmooth = 1;          // curved segment ends
constexpr unsigned kStyleFourteenDigits = 2;  // digits, blank, minus in fourteen segments
constexpr unsigned kStyleKeepProportions = 4; // uniform scale, centred

struct DigitChar {
    DigitCharKind kind = DigitCharKind::SevenSegment;
    int width = kSegmentCellWidth; // cell units: 49, or 18 for a colon cell
    uint16_t mask = 0;             // bit i set: segment i is lit
    int segmentCount = 7;          // 7, 14 or 3
    // Points into the process-wide tables of SegmentOutlines; never null.
    const std::vector<CellOutline>* outlines = nullptr;
};

// Seven-segment masks, index: blank 0, digits '0'..'9' at 1..10, minus 11.
constexpr int kDigitMaskCount = 12;
uint16_t SevenSegmentMask(int index);
uint16_t FourteenSegmentDigitMask(int index);
// Index into the digit mask tables for ' ', '0'..'9' and '-'; -1 otherwise.
int DigitMaskIndex(char c);
// Fourteen-segment mask of 'A'..'Z', '*' and '+'; -1 for any other byte.
int FourteenSegmentLetterMask(char c);

DigitChar SevenSegmentChar(uint16_t mask, bool smooth);
DigitChar FourteenSegmentChar(uint16_t mask, bool smooth);
DigitChar ColonChar(uint16_t mask);

// Upper-cases the text in place (ASCII letters only) and returns one character
// per mapped byte; bytes without a mapping take no room.
std::vector<DigitChar> BuildDigitChars(std::string& text, unsigned style);

} // namespace sentinax
