// The titles of the top-level windows a desktop told us about, kept up to date
// from its events, so that a lookup costs a few hash probes and no request.
// Windows are keyed by an id of the caller's choosing; several windows may
// share a title. Titles are bytes, compared exactly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>

namespace sentinax {

class TitleSet {
public:
    // The window (new or known) now has this title.
    void Set(std::uintptr_t window, const std::string& title);
    // The window is gone; nothing for an unknown one.
    void Remove(std::uintptr_t window);
    void Clear();

    // Position in titles of the first one (in list order) that some window
    // has; empty when none.
    std::optional<std::size_t> FirstExisting(std::span<const std::string> titles) const;
    std::size_t Windows() const { return byWindow_.size(); }

private:
    void Drop(const std::string& title);

    std::unordered_map<std::uintptr_t, std::string> byWindow_;
    std::unordered_map<std::string, unsigned> count_;
};

} // namespace sentinax
