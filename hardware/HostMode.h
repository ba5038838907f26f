// The board's host mode, from the board table's HostMode field: which
// companion the board's host drives besides the window. The numbers are the
// table's own.
#pragma once

namespace sentinax {

enum class HostMode : int {
    None = 0,
    FrontPanel = 2,   // the front panel, through MainEntry
    PanelDisplay = 3, // the panel display, through PanoraControl; no tray icon
};

// Either companion: the board came with the front-panel kit.
constexpr bool HasCompanion(HostMode mode) {
    return mode == HostMode::FrontPanel || mode == HostMode::PanelDisplay;
}

} // namespace sentinax
