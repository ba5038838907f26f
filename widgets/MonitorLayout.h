// Where the main window shows its nine items: the readout rectangle, the
// graph place and the graph's range, decimals and caption. Pixel rectangles
// are in the main window's client coordinates.
#pragma once

#include "hardware/SensorTypes.h"

#include <array>
#include <string>

namespace sentinax {

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const PixelRect&) const = default;
};

struct ItemPlacement {
    int textControl = 0; // control id of the readout
    PixelRect text;
    int graphControl = 0; // control id of the graph place
    PixelRect graph;
    double lower = 0; // graph range; temperatures: see TemperatureRange
    double upper = 0;
    int decimals = 0;
    // Caption under the graph; empty for the fans, whose captions come from
    // the board profile.
    const char* caption = "";
};

struct GraphRange {
    double lower = 0;
    double upper = 0;
};

class MonitorLayout {
public:
    static const ItemPlacement& Placement(ReadoutItem item);
    // 0..80 in Celsius, 32..176 in Fahrenheit.
    static GraphRange TemperatureRange(bool celsius);
    // The order in which the window creates its graphs.
    static const std::array<ReadoutItem, kReadoutCount>& GraphOrder();
    // Index 0..2 of a fan item in the fan caption list; -1 for other items.
    static int FanIndex(ReadoutItem item);
    static bool IsTemperature(ReadoutItem item) {
        return item == ReadoutItem::CpuTemp || item == ReadoutItem::SysTemp;
    }
    // The animated picture's place (control 1002).
    static constexpr PixelRect kAnimatedPicture{443, 57, 96, 96};
};

} // namespace sentinax
