// Sound cards (Sx_SoundDevice) and display adapters (Sx_VideoController).
#pragma once

#include "DeviceFacts.h"

#include <map>
#include <memory>

namespace sentinax {

// The card names of /proc/asound/cards by card number:
//   " 0 [PCH            ]: HDA-Intel - HDA Intel PCH"  ->  0: "HDA Intel PCH"
std::map<int, std::string> ParseSoundCards(std::string_view text);

// The width and height of the first mode line of a connector ("1920x1080").
std::optional<std::pair<uint64_t, uint64_t>> ParseModeLine(std::string_view modes);

std::unique_ptr<InventoryClass> MakeSoundDeviceClass(InventoryContext context);
std::unique_ptr<InventoryClass> MakeVideoControllerClass(InventoryContext context);

} // namespace sentinax
