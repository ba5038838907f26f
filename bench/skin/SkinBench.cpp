// The face's cost. Each case runs on the skinned window (the standard skin's
// face, buttons, hint field and adjusters, with the nine readouts and graphs
// on it) and, for comparison, on a plain window that only fills its colour.
// The window is shown (offscreen) and painted through its backing store, as
// on a screen: what changed is marked and the event loop repaints it, leaving
// opaque children out of the parent's own painting.
//   skin_bench [--benchmark_filter=...]
#include "CDigitDisplay.h"
#include "CHistoryGraph.h"
#include "MonitorPanel.h"
#include "skin/CSkinDialog.h"
#include "skin/CSkinText.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

namespace {

using sentinax::CSkinDialog;
using sentinax::MonitorPanel;
using sentinax::ReadoutItem;

// The window before it had a face.
class PlainWindow : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QColor(24, 30, 38));
    }
};

// A copy of the shipped standard skin with its pictures, in a temporary folder.
std::string SkinCopy() {
    namespace fs = std::filesystem;
    static const std::string path = [] {
        const fs::path dir = fs::temp_directory_path() / "sx-skin-bench";
        fs::create_directories(dir);
        fs::copy(fs::path(SX_RUN_DIR) / "Skins", dir,
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        fs::copy_file(fs::path(SX_SHIPPED_SKINS) / "Skin.ini", dir / "Skin.ini",
                      fs::copy_options::overwrite_existing);
        return (dir / "Skin.ini").string();
    }();
    return path;
}

struct Window {
    std::unique_ptr<QWidget> widget;
    std::unique_ptr<MonitorPanel> panel;
    QImage target{560, 430, QImage::Format_RGB32};

    explicit Window(bool skinned) {
        if (skinned) {
            auto dialog = std::make_unique<CSkinDialog>();
            dialog->SetSkinPath(SkinCopy());
            dialog->OnInitDialog();
            if (dialog->MainImage().isNull())
                std::abort(); // the build draws the face; without it there is nothing to measure
            widget = std::move(dialog);
        } else {
            widget = std::make_unique<PlainWindow>();
            widget->resize(560, 430);
        }
        panel = std::make_unique<MonitorPanel>(widget.get());
        panel->LayoutControls(false);
        panel->CreateGraphs({"CPU FAN", "SYS FAN", "PS FAN"}, true, false);
        const char* texts[] = {"1.52",  "45 .C", "38 .C", "3.31", "5.02",
                               "12.10", "3214",  "2100",  "2104"};
        for (int i = 0; i < sentinax::kReadoutCount; ++i)
            panel->SetItemText(static_cast<ReadoutItem>(i), texts[i]);
        widget->show();
        Flush();
    }
    // Paints whatever was marked as changed, as the event loop does.
    static void Flush() { QCoreApplication::processEvents(); }
    // The window's own painting of an area, without its children.
    void PaintFaceOnly(const QRect& area) {
        widget->render(&target, area.topLeft(), QRegion(area), QWidget::DrawWindowBackground);
    }
};

// Made on first use, deleted before the application object goes.
std::unique_ptr<Window> plainWindow, skinnedWindow;

Window& TheWindow(bool skinned) {
    std::unique_ptr<Window>& w = skinned ? skinnedWindow : plainWindow;
    if (!w)
        w = std::make_unique<Window>(skinned);
    return *w;
}

// The whole face copied once (an expose of the window without its children).
void BM_FaceRepaint(benchmark::State& state) {
    Window& w = TheWindow(state.range(0) != 0);
    const QRect all = w.widget->rect();
    for (auto _ : state)
        w.PaintFaceOnly(all);
}
BENCHMARK(BM_FaceRepaint)->ArgName("skinned")->Arg(0)->Arg(1);

// The whole window exposed: face, controls, readouts and graphs.
void BM_WindowExpose(benchmark::State& state) {
    Window& w = TheWindow(state.range(0) != 0);
    for (auto _ : state) {
        w.widget->update();
        Window::Flush();
    }
}
BENCHMARK(BM_WindowExpose)->ArgName("skinned")->Arg(0)->Arg(1);

// A shown tick: two readouts blink, one changes its text, every graph takes
// a value; then the window repaints what changed.
void BM_TickOverFace(benchmark::State& state) {
    Window& w = TheWindow(state.range(0) != 0);
    MonitorPanel& panel = *w.panel;
    int tick = 0;
    for (auto _ : state) {
        const bool on = (++tick & 1) != 0;
        panel.SetItemColours(ReadoutItem::CpuTemp, on ? 0x0000FF : MonitorPanel::kNormalLit, 0);
        panel.SetItemColours(ReadoutItem::CpuFan, on ? 0x0000FF : MonitorPanel::kNormalLit, 0);
        panel.SetItemText(ReadoutItem::SysTemp, on ? "38 .C" : "39 .C");
        for (int i = 0; i < sentinax::kReadoutCount; ++i) {
            sentinax::CHistoryGraph* graph = panel.Graph(static_cast<ReadoutItem>(i));
            graph->AppendPoint(on ? graph->Geometry().Lower() : graph->Geometry().Upper());
        }
        Window::Flush();
    }
}
BENCHMARK(BM_TickOverFace)->ArgName("skinned")->Arg(0)->Arg(1);

// One step of the hint field's marquee (a welcome text scrolls until the
// pointer first moves over the window): shift, repaint.
void BM_MarqueeStep(benchmark::State& state) {
    Window& w = TheWindow(true);
    auto* dialog = static_cast<CSkinDialog*>(w.widget.get());
    sentinax::CSkinText* hint = dialog->Texts().front();
    dialog->SetFieldText("TEXT_HINT", std::string(300, 'W'));
    for (auto _ : state) {
        hint->Step();
        Window::Flush();
    }
}
BENCHMARK(BM_MarqueeStep);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    plainWindow.reset();
    skinnedWindow.reset();
    std::filesystem::remove_all(std::filesystem::temp_directory_path() / "sx-skin-bench");
    return 0;
}
