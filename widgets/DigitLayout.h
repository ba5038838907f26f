// Device geometry of a segment display's text: the character boxes and every
// segment as a path in whole pixels, in drawing order. Depends only on the
// text, the style and the control's size, so the display builds it when one
// of those changes and paints from it.
#pragma once

#include "BezierFit.h"
#include "DigitChar.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sentinax {

struct DevicePoint {
    int x = 0; // pixels
    int y = 0;

    bool operator==(const DevicePoint&) const = default;
};

struct PathElement {
    enum class Op : uint8_t { MoveTo, LineTo, CubicTo };
    Op op = Op::MoveTo;
    DevicePoint c1; // CubicTo only
    DevicePoint c2; // CubicTo only
    DevicePoint to;
};

// One segment outline in device pixels; drawn closed, stroked and filled.
struct SegmentPath {
    bool lit = false;
    std::vector<PathElement> elements;
};

// A character's box in real device pixels (right and bottom exclusive).
struct CharBox {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

class DigitLayout {
public:
    // Upper-cases the text in place, as the display stores it, and lays it out
    // in a control of width x height pixels.
    void Build(std::string& text, unsigned style, int width, int height);

    const std::vector<DigitChar>& Characters() const { return chars_; }
    const std::vector<CharBox>& Boxes() const { return boxes_; }
    // All segments of all characters, left to right, each in index order.
    const std::vector<SegmentPath>& Segments() const { return segments_; }

    // The outline of one segment in a character box whose cell is cellWidth
    // units wide. Curved runs of samples become one fitted cubic each.
    static std::vector<PathElement> OutlinePath(const CellOutline& outline, const CharBox& box,
                                                int cellWidth);

    // Maps a point (real device pixels) to whole pixels: the integer part of
    // the coordinate + 0.5 (truncated towards zero).
    static DevicePoint Round(RealPoint p);

    // Pen colour of an outline: per channel the integer part of
    // 0.25 x background + 0.75 x fill. Colours have red in the low byte.
    static uint32_t PenColour(uint32_t background, uint32_t fill);

private:
    std::vector<DigitChar> chars_;
    std::vector<CharBox> boxes_;
    std::vector<SegmentPath> segments_;
};

} // namespace sentinax
