// Geometry of a history graph: the plot rectangle inside the client area, the
// left margin that makes room for the limit labels, the value-to-row mapping
// and the pixels one appended value touches. All in client pixels; the graph
// widget only draws what this computes.
#pragma once

#include <string>

namespace sentinax {

// Right and bottom exclusive; empty when right <= left or bottom <= top.
struct PixelBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool Empty() const { return right <= left || bottom <= top; }
    bool operator==(const PixelBox&) const = default;
};

// What drawing one new segment does, after the plot has scrolled.
struct SegmentStroke {
    PixelBox strip; // cleared at the right edge before drawing
    int x0 = 0;     // line from (x0, y0) to (x1, y1)
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
    PixelBox clearAbove; // empty unless the segment reaches the plot top
    PixelBox clearBelow; // empty unless the segment reaches the plot bottom
};

class GraphGeometry {
public:
    static constexpr int kShiftPixels = 4;     // scroll per appended value
    static constexpr int kHalfShiftPixels = 2; // newest point from the plot's right edge
    static constexpr int kPlotShiftPixels = 6; // previous point from the plot's right edge

    // The size handler: plot inset 20 left, 10 top, 5 right, 25 bottom until
    // the next grid rebuild sets the left margin.
    void Resize(int clientWidth, int clientHeight);
    // Stores the limits (upper - lower is the range) and the label decimals.
    // Decimals are kept within 0..15 so that a label stays a few characters.
    void SetRange(double lower, double upper, int decimals);
    // The grid rebuild's share: plot left from the widest limit label.
    void ApplyMargin();

    // Digits before the point of a limit, as the margin counts them: the
    // truncated decimal logarithm of |limit|, made positive; 0 for 0.
    static int LimitDigits(double limit);
    int LeftMargin() const { return 6 * (MarginDigits() + decimals_ + 4); }

    // "%.*lf" of the limits with the decimals.
    std::string UpperLabel() const;
    std::string LowerLabel() const;

    // Row of a value: plot bottom minus the truncated (value - lower) x
    // vertical factor, held within a million pixels of the plot.
    int ValueToY(double value) const;
    SegmentStroke Stroke(double previous, double current) const;
    // Rows of the three dotted grid lines: middle - quarter, middle, middle + quarter.
    void DotRows(int rows[3]) const;

    int ClientWidth() const { return clientWidth_; }
    int ClientHeight() const { return clientHeight_; }
    int PlotLeft() const { return plotLeft_; }
    int PlotTop() const { return plotTop_; }
    int PlotRight() const { return plotRight_; }
    int PlotBottom() const { return plotBottom_; }
    int PlotWidth() const { return plotRight_ - plotLeft_; }
    int PlotHeight() const { return plotBottom_ - plotTop_; }
    double Lower() const { return lower_; }
    double Upper() const { return upper_; }
    int Decimals() const { return decimals_; }
    double VerticalFactor() const { return verticalFactor_; } // pixels per unit

private:
    int MarginDigits() const;

    int clientWidth_ = 0;
    int clientHeight_ = 0;
    int plotLeft_ = 20;
    int plotTop_ = 10;
    int plotRight_ = 0;
    int plotBottom_ = 0;
    double lower_ = -10.0;
    double upper_ = 10.0;
    int decimals_ = 3;
    double verticalFactor_ = 0;
};

} // namespace sentinax
