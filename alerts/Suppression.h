// Monitoring pauses while one of a fixed set of full-screen or media programs
// has a window open: such a tick reads, evaluates, logs and plays nothing, and
// leaves a looping alarm alone.
#pragma once

#include "WindowFinder.h"

#include <array>
#include <string>

namespace sentinax {

// Exact top-level window titles, tested in this order.
inline const std::array<std::string, 8> SuppressorTitles = {
    "Home Theater",
    "Untitled - 3DMark2001 SE",
    "Untitled - 3DMark2001 SE Pro",
    "3DMark03 - Professional Edition",
    "Ovalis II",
    "Serious Sam(FullScreen 640*480)",
    "Radio WebUpdate",
    "Configuration",
};

// True when a window with one of SuppressorTitles exists (the first one found
// in list order ends the test).
bool MonitoringSuppressed(WindowFinder& finder);

} // namespace sentinax
