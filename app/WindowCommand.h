// The commands of the main window: the face's buttons, the Options menu and
// the tray menu, each by its own name, and the one table that maps the face's
// button names to them.
#pragma once

#include <optional>
#include <string_view>

namespace sentinax {

enum class WindowCommand {
    Exit,            // BUTTON_EXIT: end the window's run
    CoolingTool,     // BUTTON_FROSTLINE
    WebSite,         // BUTTON_Korvane: the maker's web address
    OptionsMenu,     // BUTTON_MENU: the Options menu at the button's corner
    Minimize,        // BUTTON_MINIMIZE: hide to the tray (minimise in host mode 3)
    About,           // BUTTON_HELP
    TemperatureUnit, // BUTTON_TEMP: switch Celsius and Fahrenheit
    SystemInfo,      // Options: "&Sys info"
    Inventory,       // Options: "&WMI info"
    Settings,        // Options: "Se&ttings"
    Restore,         // TRAY: "Restore", or a double-click on the icon
    TrayExit,        // TRAY: "Exit"
};

// The command of a face button, compared exactly (case matters); none for any
// other name.
std::optional<WindowCommand> ButtonCommand(std::string_view name);

} // namespace sentinax
