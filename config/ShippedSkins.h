// The skin files shipped with the program, built into it: when the user's
// skin file cannot be read (missing, a folder, binary, too large, or holding
// no settings), the monitor runs on the shipped file of the same name instead
// of with every setting at zero.
#pragma once

#include <optional>
#include <string_view>

namespace sentinax {

// The text of the shipped skin file of this name ("Skin.ini"), if there is one.
std::optional<std::string_view> ShippedSkinText(std::string_view fileName);

} // namespace sentinax
