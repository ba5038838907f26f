// A small scrolling strip chart of one value. The history lives only as
// pixels: a plot surface that scrolls left by four pixels per appended value,
// shown over a grid surface (frame, dots, limit and unit labels). Painting
// ORs the plot onto the grid; the plot's black background lets the grid show.
#pragma once

#include "GraphGeometry.h"

#include <QFrame>
#include <QImage>
#include <cstdint>
#include <string>
#include <vector>

namespace sentinax {

class CHistoryGraph : public QFrame {
public:
    explicit CHistoryGraph(QWidget* parent = nullptr);

    // Places the graph over rect (parent coordinates) as a visible child of
    // parent and draws its grid. Returns false without a parent.
    bool Create(const QRect& rect, QWidget* parent);

    // Limits at the plot's bottom and top edge, decimals of their labels.
    // Rebuilds the grid, which clears the history.
    void SetRange(double lower, double upper, int decimals);
    // Label under the plot / rotated label left of it; both clear the history.
    void SetXUnits(const std::string& text);
    void SetYUnits(const std::string& text);
    // Draws the segment from the previous value to this one at the right edge.
    // Returns the value that was current before.
    double AppendPoint(double value);

    const GraphGeometry& Geometry() const { return geometry_; }
    const std::string& XUnits() const { return xUnits_; }
    const std::string& YUnits() const { return yUnits_; }
    // The drawn history and the grid, in client pixels (inside the frame);
    // null before the first grid rebuild.
    const QImage& PlotSurface() {
        FlushPending();
        return plot_;
    }
    const QImage& GridSurface() const { return grid_; }
    // Grid OR plot: what the client area shows.
    const QImage& Picture();

    static constexpr uint32_t kBackgroundColour = 0x000000; // black
    static constexpr uint32_t kGridColour = 0xC8FFFF;       // RGB (255, 255, 200)
    static constexpr uint32_t kPlotColour = 0x00FF00;       // green

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void RebuildGrid();
    void DrawSegment();
    // A hidden graph (the window hidden to the tray) or one that nobody can
    // see (its window's updates are off) only queues its values; they are
    // drawn when it is shown or painted or its pictures are asked for, which
    // gives the same pixels as drawing each at once. repaint: ask for the
    // client area to be painted.
    void FlushPending(bool repaint = true);

    GraphGeometry geometry_;
    std::string xUnits_ = "Samples";
    std::string yUnits_ = "Y units";
    double currentValue_ = 0;
    double previousValue_ = 0;
    QImage grid_;
    QImage plot_;
    QImage picture_;
    bool pictureStale_ = true;
    std::vector<double> pending_;
};

} // namespace sentinax
