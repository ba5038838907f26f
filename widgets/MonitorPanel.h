// The main window's nine readouts and nine history graphs, placed at the
// window's layout positions. The widgets are children of the window (Qt
// deletes them with it); the panel only keeps guarded pointers to them.
#pragma once

#include "hardware/SensorTypes.h"

#include <QPointer>
#include <array>
#include <cstdint>
#include <string>

class QWidget;

namespace sentinax {

class CDigitDisplay;
class CHistoryGraph;

class MonitorPanel {
public:
    // Makes the nine readouts as children of window; they show "EMPTY" in the
    // default colours until values arrive.
    explicit MonitorPanel(QWidget* window);
    MonitorPanel(const MonitorPanel&) = delete;
    MonitorPanel& operator=(const MonitorPanel&) = delete;

    // Moves the readouts to their rectangles. With noPowerFan the third-fan
    // readout and graph place are hidden instead.
    void LayoutControls(bool noPowerFan);
    // Creates the graphs over their places with range, decimals and caption.
    // fanCaptions: CPU fan, system fan, third fan (from the board profile).
    // Without a third fan its graph is not created. Calling it again replaces
    // the graphs.
    void CreateGraphs(const std::array<std::string, 3>& fanCaptions, bool celsius, bool noPowerFan);
    // The temperature unit changed: both temperature graphs get the new
    // unit's range, which clears their history.
    void SetTemperatureUnit(bool celsius);

    void SetItemText(ReadoutItem item, const std::string& text);
    // fore: lit segments, back: unlit segments; red in the low byte.
    void SetItemColours(ReadoutItem item, uint32_t fore, uint32_t back);
    // Volts, degrees in the shown unit, or rpm. Nothing when the graph is absent.
    void AppendPoint(ReadoutItem item, double value);

    CDigitDisplay* Readout(ReadoutItem item) const;
    // Null before CreateGraphs and for the third fan without one.
    CHistoryGraph* Graph(ReadoutItem item) const;

    // Colours of a readout in the normal state.
    static constexpr uint32_t kNormalLit = 0xFFFF96; // RGB (150, 255, 255)
    static constexpr uint32_t kNormalUnlit = 0;

private:
    QWidget* window_;
    std::array<QPointer<CDigitDisplay>, kReadoutCount> readouts_;
    std::array<QPointer<CHistoryGraph>, kReadoutCount> graphs_;
    bool graphPlaceHidden_[kReadoutCount] = {};
};

} // namespace sentinax
