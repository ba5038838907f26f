#include "AdjusterHints.h"

#include "CpuProtection.h"

#include "config/LimitConversion.h"
#include "config/LimitItem.h"
#include "hardware/BoardProfile.h"
#include "skin/AdjusterHint.h"

namespace sentinax {

void AdjusterHints::OnAdjusterChanged(const std::string& name) {
    const int item = FindLimitItem(name);
    if (item < 0)
        return;
    const std::size_t i = static_cast<std::size_t>(item);
    const int position = view_.GetSliderPosition(name);
    settings_.LimitPosition[i] = position;
    settings_.LimitChanged[i] = true;
    line_.UserActed();
    std::string hint =
        AdjusterHint(item, position, settings_.Celsius != 0, profile_.SysFanUpperBase);
    // The board's start-up overrides no longer apply once the user moved it.
    limits_[item] = LimitFromPosition(item, position, profile_);
    if (item == static_cast<int>(LimitItem::CpuTempUpper))
        hint += protection_.LimitHintNote(limits_[item], settings_.Celsius != 0);
    view_.SetFieldText(kHintField, hint);
}

void AdjusterHints::OnHint(const std::string& name) {
    view_.SetFieldText(kHintField, line_.ForPointer(PointerHint(name)));
}

void AdjusterHints::SetStanding(StandingHint kind, const std::string& text) {
    line_.Set(kind, text);
    view_.SetFieldText(kHintField, line_.ForPointer(std::string()));
}

void AdjusterHints::ClearStanding(StandingHint kind) {
    line_.Clear(kind);
    view_.SetFieldText(kHintField, line_.ForPointer(std::string()));
}

void AdjusterHints::ShowStanding() {
    if (const std::string standing = line_.ForPointer(std::string()); !standing.empty())
        view_.SetFieldText(kHintField, standing);
}

} // namespace sentinax
