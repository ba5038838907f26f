#include "TitleSet.h"

namespace sentinax {

void TitleSet::Drop(const std::string& title) {
    auto it = count_.find(title);
    if (it != count_.end() && --it->second == 0)
        count_.erase(it);
}

void TitleSet::Set(std::uintptr_t window, const std::string& title) {
    auto [it, added] = byWindow_.try_emplace(window, title);
    if (!added) {
        if (it->second == title)
            return;
        Drop(it->second);
        it->second = title;
    }
    ++count_[title];
}

void TitleSet::Remove(std::uintptr_t window) {
    auto it = byWindow_.find(window);
    if (it == byWindow_.end())
        return;
    Drop(it->second);
    byWindow_.erase(it);
}

void TitleSet::Clear() {
    byWindow_.clear();
    count_.clear();
}

std::optional<std::size_t> TitleSet::FirstExisting(std::span<const std::string> titles) const {
    if (count_.empty())
        return std::nullopt;
    for (std::size_t i = 0; i < titles.size(); ++i) {
        if (count_.contains(titles[i]))
            return i;
    }
    return std::nullopt;
}

} // namespace sentinax
