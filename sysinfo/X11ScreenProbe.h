// The size and depth of an X11 display's default screen, for the desktop
// category. Empty when there is no display name or the display cannot be
// reached (a Wayland-only session, a console, a container).
#pragma once

#include "InventoryHost.h"

#include <optional>

namespace sentinax {

std::optional<ScreenInfo> ProbeX11Screen(const char* displayName);

} // namespace sentinax
