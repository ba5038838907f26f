// Splitting one fuzz input into the parts a target feeds to several readers.
#pragma once

#include <string_view>

namespace sentinax::fuzz {

// Splits off the text before the first NUL (all of it when there is none).
inline std::string_view TakePart(std::string_view& rest) {
    const std::size_t nul = rest.find('\0');
    const std::string_view part = rest.substr(0, nul);
    rest = nul == std::string_view::npos ? std::string_view() : rest.substr(nul + 1);
    return part;
}

} // namespace sentinax::fuzz
