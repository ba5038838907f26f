#include "CHistoryGraph.h"

#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

namespace sentinax {
namespace {

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kGreen = qRgb(0, 255, 0);

// A graph as the main window makes it: created over a place, then range, no
// y label, the caption.
struct Graph {
    QWidget window;
    mutable CHistoryGraph graph; // reading its pictures draws queued values
    Graph(QRect place, double lower, double upper, int decimals, const char* caption) {
        window.resize(600, 450);
        graph.Create(place, &window);
        graph.SetRange(lower, upper, decimals);
        graph.SetYUnits("");
        graph.SetXUnits(caption);
    }
    const GraphGeometry& g() const { return graph.Geometry(); }
    QRgb Plot(int x, int y) const { return graph.PlotSurface().pixel(x, y); }
    bool AnyGreenInColumns(int x0, int x1, int y0, int y1) const {
        for (int x = x0; x <= x1; ++x) {
            for (int y = y0; y <= y1; ++y) {
                if (Plot(x, y) == kGreen)
                    return true;
            }
        }
        return false;
    }
    bool AllBlack(int x0, int x1, int y0, int y1) const {
        for (int x = x0; x <= x1; ++x) {
            for (int y = y0; y <= y1; ++y) {
                if (Plot(x, y) != kBlack)
                    return false;
            }
        }
        return true;
    }
    // Any non-background pixel of the grid in the rectangle (labels).
    bool GridInk(QRect r) const {
        for (int x = r.left(); x <= r.right(); ++x) {
            for (int y = r.top(); y <= r.bottom(); ++y) {
                if (graph.GridSurface().pixel(x, y) != kBlack)
                    return true;
            }
        }
        return false;
    }
};

TEST(CHistoryGraphWidget, MarginsAndLabelsFollowTheRange) {
    Graph fan({212, 310, 88, 73}, 0, 9900, 0, "CPU FAN");
    Graph vcore({97, 184, 87, 70}, 1.2, 2.5, 1, "Vcore");
    EXPECT_EQ(fan.g().PlotLeft(), 42);
    EXPECT_EQ(vcore.g().PlotLeft(), 30);
    EXPECT_EQ(fan.g().UpperLabel(), "9900");
    EXPECT_EQ(fan.g().LowerLabel(), "0");
    EXPECT_EQ(vcore.g().UpperLabel(), "2.5");
    EXPECT_EQ(vcore.g().LowerLabel(), "1.2");
    // Client area inside the two-pixel edge; surfaces of that size.
    EXPECT_EQ(vcore.graph.GridSurface().size(), QSize(83, 66));
    for (Graph* graph : {&fan, &vcore}) {
        const GraphGeometry& g = graph->g();
        // Frame corners, the labels left of the plot and the caption under it.
        const QRgb grid = qRgb(255, 255, 200);
        EXPECT_EQ(graph->graph.GridSurface().pixel(g.PlotLeft(), g.PlotTop()), grid);
        EXPECT_EQ(graph->graph.GridSurface().pixel(g.PlotRight() + 1, g.PlotBottom() + 1), grid);
        EXPECT_TRUE(graph->GridInk({0, g.PlotTop(), g.PlotLeft() - 4, 12}));
        EXPECT_TRUE(graph->GridInk({0, g.PlotBottom() - 12, g.PlotLeft() - 4, 12}));
        EXPECT_TRUE(graph->GridInk({g.PlotLeft(), g.PlotBottom() + 4, g.PlotWidth(), 12}));
        // No y label: nothing in the margin between the two limit labels.
        EXPECT_FALSE(graph->GridInk({0, g.PlotTop() + 14, g.PlotLeft() - 4, 2}));
    }
}

TEST(CHistoryGraphWidget, ValueAboveTheRangeIsCutAtThePlotTop) {
    Graph vcore({97, 184, 87, 70}, 1.2, 2.5, 1, "Vcore");
    const GraphGeometry& g = vcore.g();
    vcore.graph.AppendPoint(1.8);
    vcore.graph.AppendPoint(5.0); // far above 2.5
    const int x0 = g.PlotRight() - 6, x1 = g.PlotRight() - 2;
    EXPECT_TRUE(vcore.AllBlack(x0, x1, 0, g.PlotTop()));
    EXPECT_TRUE(vcore.AnyGreenInColumns(x0, x1, g.PlotTop() + 1, g.PlotTop() + 1));
    EXPECT_EQ(vcore.Plot(x0, g.ValueToY(1.8)), kGreen);
}

TEST(CHistoryGraphWidget, FirstValueStartsFromZeroBelowTheRange) {
    Graph vcore({97, 184, 87, 70}, 1.2, 2.5, 1, "Vcore");
    const GraphGeometry& g = vcore.g();
    vcore.graph.AppendPoint(1.8);
    const int x0 = g.PlotRight() - 6, x1 = g.PlotRight() - 2;
    EXPECT_TRUE(vcore.AllBlack(x0, x1, g.PlotBottom() + 1, g.ClientHeight() - 1));
    EXPECT_TRUE(vcore.AnyGreenInColumns(x0, x1, g.PlotBottom(), g.PlotBottom()));
    EXPECT_EQ(vcore.Plot(x1, g.ValueToY(1.8)), kGreen);
}

TEST(CHistoryGraphWidget, PlotScrollsFourPixelsPerValue) {
    Graph vcore({97, 184, 87, 70}, 1.2, 2.5, 1, "Vcore");
    const GraphGeometry& g = vcore.g();
    vcore.graph.AppendPoint(2.0);
    const int y = g.ValueToY(2.0);
    vcore.graph.AppendPoint(2.0);
    vcore.graph.AppendPoint(2.0);
    // The flat line spans the last two segments; the first one (rising from
    // 0, below the plot) has moved eight pixels left and ends where they start.
    for (int x = g.PlotRight() - 10; x <= g.PlotRight() - 2; ++x)
        EXPECT_EQ(vcore.Plot(x, y), kGreen) << x;
    EXPECT_EQ(vcore.Plot(g.PlotRight() - 16, y), kBlack);
    EXPECT_TRUE(
        vcore.AnyGreenInColumns(g.PlotRight() - 13, g.PlotRight() - 11, y + 1, g.PlotBottom()));
    // What shows is the grid with the line ORed over it.
    const QImage& picture = vcore.graph.Picture();
    EXPECT_EQ(picture.pixel(g.PlotRight() - 4, y), kGreen);
    EXPECT_EQ(picture.pixel(g.PlotLeft(), y), qRgb(255, 255, 200));
}

TEST(CHistoryGraphWidget, RangeChangeClearsTheHistoryButKeepsThePreviousValue) {
    Graph temp({172, 54, 87, 73}, 0, 80, 0, "CPU TEMP.");
    const GraphGeometry& g = temp.g();
    temp.graph.AppendPoint(40);
    temp.graph.AppendPoint(40);
    temp.graph.SetRange(32, 176, 0); // switched to Fahrenheit
    EXPECT_TRUE(temp.AllBlack(0, g.ClientWidth() - 1, 0, g.ClientHeight() - 1));
    EXPECT_EQ(temp.graph.AppendPoint(104), 40);
    // The new segment starts at the old value (40) on the new scale.
    EXPECT_EQ(temp.Plot(g.PlotRight() - 6, g.ValueToY(40)), kGreen);
    EXPECT_EQ(temp.Plot(g.PlotRight() - 2, g.ValueToY(104)), kGreen);
}

TEST(CHistoryGraphWidget, ResizeRebuildsTheSurfacesAtTheNewSize) {
    Graph fan({212, 310, 88, 73}, 0, 9900, 0, "SYS FAN");
    fan.window.show(); // a hidden widget gets its resize only when shown
    fan.graph.AppendPoint(5000);
    fan.graph.resize(120, 90);
    QApplication::sendPostedEvents();
    EXPECT_EQ(fan.graph.PlotSurface().size(), QSize(116, 86));
    EXPECT_EQ(fan.g().PlotRight(), 111);
    EXPECT_EQ(fan.g().PlotLeft(), 42);
    EXPECT_TRUE(fan.AllBlack(0, 115, 0, 85));
    fan.graph.AppendPoint(5000);
    EXPECT_EQ(fan.Plot(109, fan.g().ValueToY(5000)), kGreen);
}

} // namespace
} // namespace sentinax

namespace sentinax {
namespace {

// A graph hidden with its window only queues values, and shows the very same
// pixels as one that drew every value at once, however long it stayed hidden.
TEST(HistoryGraphHidden, SamePixelsAsDrawingEveryValue) {
    for (int count : {3, 30, 200}) {
        QWidget shownWindow;
        QWidget hiddenWindow;
        CHistoryGraph shown;
        CHistoryGraph hidden;
        for (auto [graph, window] : {std::pair{&shown, &shownWindow}, {&hidden, &hiddenWindow}}) {
            window->resize(600, 450);
            graph->Create(QRect(97, 184, 87, 70), window);
            graph->SetRange(1.2, 2.5, 1);
        }
        shownWindow.show();
        ASSERT_TRUE(shown.isVisible());
        ASSERT_FALSE(hidden.isVisible());
        for (int i = 0; i < count; ++i) {
            const double v = 1.0 + 0.05 * ((i * 7) % 40); // crosses both limits
            shown.AppendPoint(v);
            hidden.AppendPoint(v);
        }
        EXPECT_EQ(hidden.PlotSurface(), shown.PlotSurface()) << count << " values";
        EXPECT_EQ(hidden.Picture(), shown.Picture()) << count << " values";
    }
}

} // namespace
} // namespace sentinax
