#include "DigitLayout.h"

#include <algorithm>
#include <cmath>

namespace sentinax {

namespace {

int TruncateToInt(double v) {
    // Keeps absurd boxes (huge controls, non-finite scales) from overflowing.
    constexpr double kLimit = 1 << 30;
    if (!(v > -kLimit))
        return -(1 << 30);
    if (v > kLimit)
        return 1 << 30;
    return static_cast<int>(v);
}

} // namespace

DevicePoint DigitLayout::Round(RealPoint p) {
    return {TruncateToInt(p.x + 0.5), TruncateToInt(p.y + 0.5)};
}

uint32_t DigitLayout::PenColour(uint32_t background, uint32_t fill) {
    uint32_t result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const double b = (background >> shift) & 0xFF;
        const double f = (fill >> shift) & 0xFF;
        result |= static_cast<uint32_t>(0.25 * b + 0.75 * f) << shift;
    }
    return result;
}

std::vector<PathElement> DigitLayout::OutlinePath(const CellOutline& outline, const CharBox& box,
                                                  int cellWidth) {
    const double xScale = (box.right - box.left) / cellWidth;
    const double yScale = (box.bottom - box.top) / kCellHeight;
    auto toDevice = [&](const CellPoint& p) {
        return RealPoint{box.left + p.x * xScale, box.top + p.y * yScale};
    };

    std::vector<PathElement> path;
    path.reserve(outline.size());
    const size_t count = outline.size();
    for (size_t i = 0; i < count;) {
        const CellPoint& point = outline[i];
        if (point.kind == PointKind::Move) {
            path.push_back({PathElement::Op::MoveTo, {}, {}, Round(toDevice(point))});
            ++i;
            continue;
        }
        if (point.kind == PointKind::Line) {
            path.push_back({PathElement::Op::LineTo, {}, {}, Round(toDevice(point))});
            ++i;
            continue;
        }
        // A run of samples between the point before it and the point after it.
        size_t end = i;
        while (end < count && outline[end].kind == PointKind::Sample)
            ++end;
        if (i == 0 || end == count)
            break; // a run without both ends has no curve; the tables never hold one
        std::vector<RealPoint> fitList;
        fitList.reserve(end - i + 2);
        for (size_t k = i - 1; k <= end; ++k)
            fitList.push_back(toDevice(outline[k]));
        const BezierFit::Controls controls = BezierFit::Fit(fitList);
        path.push_back({PathElement::Op::CubicTo, Round(controls.c1), Round(controls.c2),
                        Round(fitList.back())});
        i = end + 1;
    }
    return path;
}

void DigitLayout::Build(std::string& text, unsigned style, int width, int height) {
    chars_ = BuildDigitChars(text, style);
    boxes_.clear();
    segments_.clear();
    if (chars_.empty())
        return;

    int cellUnits = 0;
    for (const DigitChar& c : chars_)
        cellUnits += c.width;
    double sx = static_cast<double>(width) / cellUnits;
    double sy = static_cast<double>(height) / kCellHeight;
    double offsetX = 0;
    double offsetY = 0;
    if (style & kStyleKeepProportions) {
        const double scale = std::min(sx, sy);
        sx = sy = scale;
        offsetX = (width - cellUnits * scale) / 2;
        offsetY = (height - kCellHeight * scale) / 2;
    }

    boxes_.reserve(chars_.size());
    for (const DigitChar& c : chars_) {
        const CharBox box{offsetX, offsetY, offsetX + c.width * sx, offsetY + kCellHeight * sy};
        boxes_.push_back(box);
        for (int s = 0; s < c.segmentCount; ++s) {
            segments_.push_back(
                {(c.mask >> s & 1) != 0, OutlinePath((*c.outlines)[s], box, c.width)});
        }
        offsetX += c.width * sx;
    }
}

} // namespace sentinax
