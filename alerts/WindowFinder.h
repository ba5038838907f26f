// Presence of top-level windows by title, for the suppression test of the
// monitoring tick. Titles are compared byte for byte as UTF-8; hidden windows
// count like shown ones. A finder that cannot see any display finds nothing.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>

namespace sentinax {

class WindowFinder {
public:
    virtual ~WindowFinder() = default;

    // True when some top-level window of any program has exactly this title.
    virtual bool WindowExists(const std::string& title) = 0;

    // Position in `titles` of the first title (in list order) that some window
    // has; empty when none. This default asks WindowExists title by title and
    // stops at the first hit; a finder that can read every window's title in
    // one pass overrides it so a whole list costs one pass.
    virtual std::optional<std::size_t> FirstExisting(std::span<const std::string> titles) {
        for (std::size_t i = 0; i < titles.size(); ++i) {
            if (WindowExists(titles[i])) {
                return i;
            }
        }
        return std::nullopt;
    }

    // Why some windows cannot be seen in this session (one line for the
    // user), or empty when every top-level window can be. May connect to the
    // desktop to find out.
    virtual std::string Limitation() { return {}; }
};

} // namespace sentinax
