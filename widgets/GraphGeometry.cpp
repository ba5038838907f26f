#include "GraphGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace sentinax {

namespace {

std::string FormatLimit(double value, int decimals) {
    char buffer[64];
    const int n = std::snprintf(buffer, sizeof buffer, "%.*lf", decimals, value);
    if (n < 0)
        return {};
    if (n < static_cast<int>(sizeof buffer))
        return std::string(buffer, static_cast<size_t>(n));
    std::string text(static_cast<size_t>(n) + 1, '\0');
    std::snprintf(text.data(), text.size(), "%.*lf", decimals, value);
    text.resize(static_cast<size_t>(n));
    return text;
}

} // namespace

void GraphGeometry::Resize(int clientWidth, int clientHeight) {
    clientWidth_ = clientWidth;
    clientHeight_ = clientHeight;
    plotLeft_ = 20;
    plotTop_ = 10;
    plotRight_ = clientWidth - 5;
    plotBottom_ = clientHeight - 25;
    verticalFactor_ = PlotHeight() / (upper_ - lower_);
}

void GraphGeometry::SetRange(double lower, double upper, int decimals) {
    lower_ = lower;
    decimals_ = std::clamp(decimals, 0, 15);
    upper_ = upper;
    verticalFactor_ = PlotHeight() / (upper_ - lower_);
}

int GraphGeometry::LimitDigits(double limit) {
    const double magnitude = std::fabs(limit);
    if (magnitude == 0 || !std::isfinite(magnitude))
        return 0;
    return static_cast<int>(std::fabs(std::trunc(std::log10(magnitude))));
}

int GraphGeometry::MarginDigits() const {
    return std::max(LimitDigits(lower_), LimitDigits(upper_));
}

void GraphGeometry::ApplyMargin() {
    plotLeft_ = LeftMargin();
}

std::string GraphGeometry::UpperLabel() const {
    return FormatLimit(upper_, decimals_);
}
std::string GraphGeometry::LowerLabel() const {
    return FormatLimit(lower_, decimals_);
}

int GraphGeometry::ValueToY(double value) const {
    // A value far outside the range (or a range of 0) only needs to land well
    // outside the plot; holding it there keeps the conversion defined.
    constexpr double kFar = 1e6;
    double offset = std::trunc((value - lower_) * verticalFactor_);
    if (!(offset > -kFar))
        offset = -kFar;
    else if (offset > kFar)
        offset = kFar;
    return plotBottom_ - static_cast<int>(offset);
}

SegmentStroke GraphGeometry::Stroke(double previous, double current) const {
    SegmentStroke s;
    s.strip = {plotRight_ - kShiftPixels, plotTop_, plotRight_, plotBottom_};
    s.x0 = plotRight_ - kPlotShiftPixels;
    s.y0 = ValueToY(previous);
    s.x1 = plotRight_ - kHalfShiftPixels;
    s.y1 = ValueToY(current);
    // The line may leave the plot: cut it off at the frame by clearing its
    // columns from the client edge to the frame row.
    if (s.y0 <= plotTop_ || s.y1 <= plotTop_)
        s.clearAbove = {s.x0, 0, s.x1 + 1, plotTop_ + 1};
    if (s.y0 >= plotBottom_ || s.y1 >= plotBottom_)
        s.clearBelow = {s.x0, plotBottom_ + 1, s.x1 + 1, clientHeight_ + 1};
    return s;
}

void GraphGeometry::DotRows(int rows[3]) const {
    const int middle = (plotTop_ + plotBottom_) / 2;
    const int quarter = PlotHeight() / 4;
    rows[0] = middle - quarter;
    rows[1] = middle;
    rows[2] = middle + quarter;
}

} // namespace sentinax
