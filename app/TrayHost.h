// Which kind of tray holds the icon, and what a click on it means there.
#pragma once

namespace sentinax {

enum class TrayHostKind {
    None,           // no tray: the window minimises to the task bar instead
    StatusNotifier, // a StatusNotifierItem host on the session bus (panels of
                    // Wayland desktops, KDE, waybar): one activation, no double-click
    XEmbed,         // an X11 system tray that embeds the icon's window
};

// How the user touched the icon, as the tray reports it.
enum class TrayActivation { Trigger, DoubleClick, Context, Middle };

// Whether the touch brings a hidden window back: the double-click in an
// XEmbed tray; the activation (its only one) in a StatusNotifier host.
bool ActivationRestores(TrayHostKind host, TrayActivation how);

} // namespace sentinax
