// What the window draws per tick: a typical tick changes one readout's text
// and blinks two readouts' colours, then appends one value to every graph.
#include "CDigitDisplay.h"
#include "CHistoryGraph.h"
#include "MonitorPanel.h"

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <benchmark/benchmark.h>

namespace {

using sentinax::CDigitDisplay;
using sentinax::MonitorPanel;
using sentinax::ReadoutItem;

constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kNormal = MonitorPanel::kNormalLit;

struct Window {
    QWidget widget;
    MonitorPanel panel{&widget};
    QImage target{60, 20, QImage::Format_RGB32};

    Window() {
        widget.resize(600, 450);
        panel.LayoutControls(false);
        panel.CreateGraphs({"CPU FAN", "SYS FAN", "PS FAN"}, true, false);
        const char* texts[] = {"1.52",  "45 .C", "38 .C", "3.31", "5.02",
                               "12.10", "3214",  "2100",  "N A"};
        for (int i = 0; i < sentinax::kReadoutCount; ++i)
            panel.SetItemText(static_cast<ReadoutItem>(i), texts[i]);
        PaintAll();
    }
    // Paints a readout as its paint event does: the finished picture, copied.
    void Paint(ReadoutItem item) {
        QPainter painter(&target);
        painter.drawImage(0, 0, panel.Readout(item)->Picture());
    }
    // Two alarm blinks (on or off) and one new temperature text, painted.
    void ReadoutTick(bool on) {
        panel.SetItemColours(ReadoutItem::CpuTemp, on ? kRed : 0, 0);
        panel.SetItemColours(ReadoutItem::CpuFan, on ? kRed : 0, 0);
        panel.SetItemText(ReadoutItem::SysTemp, on ? "38 .C" : "39 .C");
        Paint(ReadoutItem::CpuTemp);
        Paint(ReadoutItem::CpuFan);
        Paint(ReadoutItem::SysTemp);
    }
    void PaintAll() {
        for (int i = 0; i < sentinax::kReadoutCount; ++i)
            Paint(static_cast<ReadoutItem>(i));
    }
};

Window& TheWindow() {
    static Window window;
    return window;
}

// Two alarm blinks and one new temperature text, painted.
void BM_ReadoutTick(benchmark::State& state) {
    Window& w = TheWindow();
    int tick = 0;
    for (auto _ : state) {
        const bool on = (++tick & 1) != 0;
        w.ReadoutTick(on);
    }
}
BENCHMARK(BM_ReadoutTick);

// A readout text change alone, plain and smooth style (layout, fit, raster).
void BM_TextChange(benchmark::State& state) {
    CDigitDisplay display(nullptr, static_cast<unsigned>(state.range(0)));
    display.resize(50, 20);
    int tick = 0;
    for (auto _ : state) {
        display.SetDisplayText((++tick & 1) ? "12.10" : "12.11");
        benchmark::DoNotOptimize(display.Picture().constBits());
    }
}
BENCHMARK(BM_TextChange)->Arg(4)->Arg(5);

// One value appended to each of the nine graphs, and their pictures composed.
void BM_GraphTick(benchmark::State& state) {
    Window& w = TheWindow();
    double value = 0;
    for (auto _ : state) {
        value = value > 1 ? 0 : value + 0.1;
        for (int i = 0; i < sentinax::kReadoutCount; ++i) {
            auto* graph = w.panel.Graph(static_cast<ReadoutItem>(i));
            const auto& g = graph->Geometry();
            graph->AppendPoint(g.Lower() + (g.Upper() - g.Lower()) * value);
            benchmark::DoNotOptimize(graph->Picture().constBits());
        }
    }
}
BENCHMARK(BM_GraphTick);

// The whole tick as one number.
void BM_WholeTick(benchmark::State& state) {
    Window& w = TheWindow();
    int tick = 0;
    for (auto _ : state) {
        const bool on = (++tick & 1) != 0;
        w.ReadoutTick(on);
        for (int i = 0; i < sentinax::kReadoutCount; ++i) {
            auto* graph = w.panel.Graph(static_cast<ReadoutItem>(i));
            graph->AppendPoint(on ? graph->Geometry().Lower() : graph->Geometry().Upper());
            benchmark::DoNotOptimize(graph->Picture().constBits());
        }
    }
}
BENCHMARK(BM_WholeTick);

} // namespace
