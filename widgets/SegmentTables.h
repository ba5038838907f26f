// Segment outlines of the three character kinds, in cell units. A cell is 83
// units high; seven- and fourteen-segment cells are 49 units wide, colon cells
// 18. Outlines are built once from a few base shapes by mirroring about the
// cell centre (24, 41) and shared by every character of that kind and style.
#pragma once

#include <cstdint>
#include <vector>

namespace sentinax {

// Move starts an outline, Line is a straight edge to the point, Sample is a
// point that a curved edge passes near (a run of samples is always followed by
// a Move or Line point that ends the curve).
enum class PointKind : uint8_t { Move, Line, Sample };

struct CellPoint {
    int x = 0; // cell units, 0..48
    int y = 0; // cell units, 0..82
    PointKind kind = PointKind::Line;

    bool operator==(const CellPoint&) const = default;
};

using CellOutline = std::vector<CellPoint>;

enum class CellTransform { AsIs, MirrorX, MirrorY, PointReflect };

enum class DigitCharKind { SevenSegment, FourteenSegment, Colon };

constexpr int kCellHeight = 83;
constexpr int kSegmentCellWidth = 49;
constexpr int kColonCellWidth = 18;

// x becomes 48 - x (MirrorX), y becomes 82 - y (MirrorY), or both.
CellOutline TransformOutline(const CellOutline& outline, CellTransform transform);

// The segment outlines of a kind, index i being segment i (bit i of a mask).
// Smooth outlines carry Sample points. The reference stays valid for the
// process's life.
const std::vector<CellOutline>& SegmentOutlines(DigitCharKind kind, bool smooth);

} // namespace sentinax
