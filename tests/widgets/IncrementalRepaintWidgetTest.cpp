// A tick repaints only what changed: the graphs (each value scrolls its plot)
// and the readouts whose text or colours changed, each painting straight into
// the window's surface. What the window shows after many such ticks must be
// exactly what a full repaint of it shows: no stale pixel anywhere.
#include "CHistoryGraph.h"
#include "MonitorPanel.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

namespace sentinax {
namespace {

// A face with a pattern in every pixel, so a hole or a stale pixel over it
// cannot pass for the background.
class PatternFace : public QWidget {
public:
    PatternFace() {
        setAttribute(Qt::WA_OpaquePaintEvent);
        resize(560, 430);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        for (int y = 0; y < height(); y += 8)
            for (int x = 0; x < width(); x += 8)
                painter.fillRect(x, y, 8, 8, QColor((x * 3) % 256, (y * 5) % 256, (x + y) % 256));
    }
};

// What the window's surface holds now: the sum of the repaints so far.
QImage OnScreen(QWidget& window) {
    return window.screen()
        ->grabWindow(window.winId())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// A fresh repaint of the whole window.
QImage Repainted(QWidget& window) {
    return window.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TEST(IncrementalRepaint, TicksOverTheFaceLeaveWhatAFullRepaintShows) {
    PatternFace face;
    MonitorPanel panel(&face);
    panel.LayoutControls(false);
    panel.CreateGraphs({"CPU FAN", "SYS FAN", "PS FAN"}, true, false);
    face.show();
    QApplication::processEvents();
    ASSERT_EQ(OnScreen(face).size(), face.size()) << "the platform hands out the window's surface";

    constexpr uint32_t kRed = 0x0000FF;
    for (int tick = 0; tick < 60; ++tick) {
        for (int i = 0; i < kReadoutCount; ++i) {
            const auto item = static_cast<ReadoutItem>(i);
            // Values that wander across the graphs' ranges and back, some
            // ticks unchanged (no repaint for those readouts).
            const int step = (tick / (1 + i % 3)) % 12;
            panel.AppendPoint(item, i < 6 ? 1.0 + 0.4 * step : 400.0 * step);
            panel.SetItemText(item, std::to_string(100 + 7 * step));
        }
        // The CPU fan in warning: its readout blinks red and dark by turns.
        const bool on = tick % 2 == 0;
        panel.SetItemColours(ReadoutItem::CpuFan, on ? kRed : 0, 0);
        QApplication::processEvents();
    }

    const QImage shown = OnScreen(face);
    EXPECT_EQ(shown, Repainted(face)) << "a pixel differs from a full repaint";
    // Each graph's client area shows the grid ORed with the plot.
    for (int i = 0; i < kReadoutCount; ++i) {
        CHistoryGraph* graph = panel.Graph(static_cast<ReadoutItem>(i));
        ASSERT_NE(graph, nullptr);
        const QRect client = graph->contentsRect().translated(graph->pos());
        EXPECT_EQ(shown.copy(client), graph->Picture().convertToFormat(QImage::Format_RGB32))
            << "graph " << i;
    }
}

} // namespace
} // namespace sentinax
