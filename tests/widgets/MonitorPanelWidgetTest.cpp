#include "CDigitDisplay.h"
#include "CHistoryGraph.h"
#include "MonitorPanel.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace sentinax {
namespace {

struct Place {
    ReadoutItem item;
    QRect text, graph;
    double lower, upper;
    int decimals;
    const char* caption;
};

// The main window's layout, Celsius, fans named by number.
const Place kPlaces[] = {
    {ReadoutItem::CpuTemp, {191, 132, 50, 20}, {172, 54, 87, 73}, 0, 80, 0, "CPU TEMP."},
    {ReadoutItem::SysTemp, {337, 132, 50, 20}, {317, 54, 87, 73}, 0, 80, 0, "SYS TEMP."},
    {ReadoutItem::Vcore, {116, 258, 50, 20}, {97, 184, 87, 70}, 1.2, 2.5, 1, "Vcore"},
    {ReadoutItem::V33, {229, 258, 50, 20}, {212, 184, 87, 70}, 2.5, 4.5, 1, "3.3 V"},
    {ReadoutItem::V5, {346, 258, 50, 20}, {328, 184, 87, 70}, 4.5, 5.5, 1, "+5 V"},
    {ReadoutItem::V12, {460, 258, 60, 20}, {443, 184, 87, 70}, 10.0, 13.0, 1, "+12 V"},
    {ReadoutItem::CpuFan, {230, 384, 50, 20}, {212, 310, 88, 73}, 0, 9900, 0, "FAN1"},
    {ReadoutItem::SysFan, {348, 384, 50, 20}, {328, 310, 88, 73}, 0, 9900, 0, "FAN2"},
    {ReadoutItem::PowerFan, {465, 384, 50, 20}, {445, 310, 88, 73}, 0, 9900, 0, "FAN3"},
};

TEST(MonitorPanelWidget, ReadoutsAndGraphsSitAtTheirPlaces) {
    QWidget window;
    MonitorPanel panel(&window);
    panel.LayoutControls(false);
    panel.CreateGraphs({"FAN1", "FAN2", "FAN3"}, true, false);
    for (const Place& p : kPlaces) {
        SCOPED_TRACE(p.caption);
        CDigitDisplay* readout = panel.Readout(p.item);
        ASSERT_NE(readout, nullptr);
        EXPECT_EQ(readout->parentWidget(), &window);
        EXPECT_EQ(readout->geometry(), p.text);
        EXPECT_FALSE(readout->isHidden());
        EXPECT_EQ(readout->DisplayText(), "EMPTY");
        EXPECT_EQ(readout->Style(), kStyleKeepProportions);
        CHistoryGraph* graph = panel.Graph(p.item);
        ASSERT_NE(graph, nullptr);
        EXPECT_EQ(graph->parentWidget(), &window);
        EXPECT_EQ(graph->geometry(), p.graph);
        EXPECT_EQ(graph->Geometry().Lower(), p.lower);
        EXPECT_EQ(graph->Geometry().Upper(), p.upper);
        EXPECT_EQ(graph->Geometry().Decimals(), p.decimals);
        EXPECT_EQ(graph->XUnits(), p.caption);
        EXPECT_EQ(graph->YUnits(), "");
    }
}

TEST(MonitorPanelWidget, WithoutAThirdFanItsReadoutIsHiddenAndItsGraphAbsent) {
    QWidget window;
    MonitorPanel panel(&window);
    panel.LayoutControls(true);
    panel.CreateGraphs({"CPU FAN", "SYS FAN", "PS FAN"}, false, true);
    EXPECT_TRUE(panel.Readout(ReadoutItem::PowerFan)->isHidden());
    EXPECT_EQ(panel.Graph(ReadoutItem::PowerFan), nullptr);
    panel.AppendPoint(ReadoutItem::PowerFan, 3000); // nothing to draw on, no harm
    EXPECT_EQ(panel.Graph(ReadoutItem::SysFan)->XUnits(), "SYS FAN");
    // Fahrenheit range for the temperatures, and back with the unit button.
    EXPECT_EQ(panel.Graph(ReadoutItem::CpuTemp)->Geometry().Upper(), 176);
    panel.SetTemperatureUnit(true);
    EXPECT_EQ(panel.Graph(ReadoutItem::SysTemp)->Geometry().Lower(), 0);
    EXPECT_EQ(panel.Graph(ReadoutItem::SysTemp)->Geometry().Upper(), 80);
}

TEST(MonitorPanelWidget, ItemOperationsReachTheirOwnWidgets) {
    QWidget window;
    MonitorPanel panel(&window);
    panel.LayoutControls(false);
    panel.CreateGraphs({"CPU FAN", "SYS FAN", "PS FAN"}, true, false);
    panel.SetItemText(ReadoutItem::V5, "5.02");
    panel.SetItemColours(ReadoutItem::CpuTemp, 0x0000FF, 0); // red lit, black unlit
    panel.AppendPoint(ReadoutItem::V12, 12.1);
    EXPECT_EQ(panel.Readout(ReadoutItem::V5)->DisplayText(), "5.02");
    EXPECT_EQ(panel.Readout(ReadoutItem::V33)->DisplayText(), "EMPTY");
    EXPECT_EQ(panel.Readout(ReadoutItem::CpuTemp)->LitColour(), 0x0000FFu);
    EXPECT_EQ(panel.Readout(ReadoutItem::CpuTemp)->UnlitColour(), 0u);
    EXPECT_EQ(panel.Readout(ReadoutItem::SysTemp)->LitColour(), MonitorPanel::kNormalLit);
    // The +12 V graph holds the value, the +5 V graph none.
    EXPECT_EQ(panel.Graph(ReadoutItem::V12)->AppendPoint(12.0), 12.1);
    EXPECT_EQ(panel.Graph(ReadoutItem::V5)->AppendPoint(5.0), 0);
}

} // namespace
} // namespace sentinax
