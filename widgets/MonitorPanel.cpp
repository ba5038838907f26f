#include "MonitorPanel.h"

#include "CDigitDisplay.h"
#include "CHistoryGraph.h"
#include "MonitorLayout.h"

#include <QWidget>

namespace sentinax {

namespace {

size_t Index(ReadoutItem item) {
    return static_cast<size_t>(item);
}

QRect ToQRect(const PixelRect& r) {
    return QRect(r.x, r.y, r.width, r.height);
}

} // namespace

MonitorPanel::MonitorPanel(QWidget* window) : window_(window) {
    for (auto& readout : readouts_)
        readout = new CDigitDisplay(window, kStyleKeepProportions);
}

void MonitorPanel::LayoutControls(bool noPowerFan) {
    for (int i = 0; i < kReadoutCount; ++i) {
        const auto item = static_cast<ReadoutItem>(i);
        CDigitDisplay* readout = readouts_[Index(item)];
        if (!readout)
            continue;
        const bool hide = noPowerFan && item == ReadoutItem::PowerFan;
        graphPlaceHidden_[i] = hide;
        if (hide) {
            readout->hide();
            if (CHistoryGraph* graph = graphs_[Index(item)])
                graph->hide();
            continue;
        }
        readout->setGeometry(ToQRect(MonitorLayout::Placement(item).text));
        readout->update();
    }
}

void MonitorPanel::CreateGraphs(const std::array<std::string, 3>& fanCaptions, bool celsius,
                                bool noPowerFan) {
    for (auto& graph : graphs_)
        delete graph.data();
    for (ReadoutItem item : MonitorLayout::GraphOrder()) {
        if (noPowerFan && item == ReadoutItem::PowerFan)
            continue;
        const ItemPlacement& place = MonitorLayout::Placement(item);
        auto* graph = new CHistoryGraph();
        if (!graph->Create(ToQRect(place.graph), window_)) {
            delete graph;
            continue;
        }
        double lower = place.lower;
        double upper = place.upper;
        if (MonitorLayout::IsTemperature(item)) {
            const GraphRange range = MonitorLayout::TemperatureRange(celsius);
            lower = range.lower;
            upper = range.upper;
        }
        graph->SetRange(lower, upper, place.decimals);
        graph->SetYUnits("");
        const int fan = MonitorLayout::FanIndex(item);
        graph->SetXUnits(fan >= 0 ? fanCaptions[static_cast<size_t>(fan)] : place.caption);
        if (graphPlaceHidden_[Index(item)])
            graph->hide();
        graphs_[Index(item)] = graph;
    }
}

void MonitorPanel::SetTemperatureUnit(bool celsius) {
    const GraphRange range = MonitorLayout::TemperatureRange(celsius);
    for (ReadoutItem item : {ReadoutItem::CpuTemp, ReadoutItem::SysTemp}) {
        if (CHistoryGraph* graph = graphs_[Index(item)])
            graph->SetRange(range.lower, range.upper, MonitorLayout::Placement(item).decimals);
    }
}

void MonitorPanel::SetItemText(ReadoutItem item, const std::string& text) {
    if (CDigitDisplay* readout = Readout(item))
        readout->SetDisplayText(text);
}

void MonitorPanel::SetItemColours(ReadoutItem item, uint32_t fore, uint32_t back) {
    if (CDigitDisplay* readout = Readout(item))
        readout->SetColours(back, fore);
}

void MonitorPanel::AppendPoint(ReadoutItem item, double value) {
    if (CHistoryGraph* graph = Graph(item))
        graph->AppendPoint(value);
}

CDigitDisplay* MonitorPanel::Readout(ReadoutItem item) const {
    const size_t i = Index(item);
    return i < readouts_.size() ? readouts_[i].data() : nullptr;
}

CHistoryGraph* MonitorPanel::Graph(ReadoutItem item) const {
    const size_t i = Index(item);
    return i < graphs_.size() ? graphs_[i].data() : nullptr;
}

} // namespace sentinax
