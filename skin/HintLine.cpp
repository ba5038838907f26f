#include "HintLine.h"

namespace sentinax {

void HintLine::Set(StandingHint kind, std::string text) {
    standing_[static_cast<std::size_t>(kind)] = std::move(text);
}

void HintLine::Clear(StandingHint kind) {
    standing_[static_cast<std::size_t>(kind)].clear();
}

void HintLine::UserActed() {
    Clear(StandingHint::SkinSettings);
    Clear(StandingHint::TitleWatch);
}

std::string HintLine::ForPointer(const std::string& pointerHint) const {
    if (!pointerHint.empty())
        return pointerHint;
    for (const std::string& text : standing_) {
        if (!text.empty())
            return text;
    }
    return pointerHint;
}

} // namespace sentinax
