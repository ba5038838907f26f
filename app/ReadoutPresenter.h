// How readings reach the face's readouts, graphs and tray tip: temperatures
// in the unit the user chose (limits and the log stay in Celsius), and a
// paused tick's repetition of the last values, which reads, converts,
// evaluates and recolours nothing.
#pragma once

#include "MonitorView.h"

#include "config/AppSettings.h"
#include "hardware/BoardProfile.h"
#include "hardware/SensorState.h"

namespace sentinax {

class ReadoutPresenter {
public:
    // All must outlive this object.
    ReadoutPresenter(MonitorView& view, const AppSettings& settings, const BoardProfile& profile,
                     const SensorState& sensors)
        : view_(view), settings_(settings), profile_(profile), sensors_(sensors) {}

    // truncateFahrenheit: the evaluation's readout truncates the converted
    // point of the graph; the repetition keeps its fraction.
    void ShowCpuTemperature(int32_t celsius, bool truncateFahrenheit);
    void ShowSystemTemperature(int32_t celsius);
    // Shows the last values again (a paused tick).
    void RedisplayLastShown();

private:
    bool Enabled(PresenceItem item) const { return Presence(sensors_.Present, item) != 0; }

    MonitorView& view_;
    const AppSettings& settings_;
    const BoardProfile& profile_;
    const SensorState& sensors_;
};

} // namespace sentinax
