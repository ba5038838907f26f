#include "Placement.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace hmio {

namespace {

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool IsRail(WiringItem item) {
    return item == WiringItem::Vcore || item == WiringItem::V33 || item == WiringItem::V5 ||
           item == WiringItem::V12;
}

// The integer an input gives is mV, m°C or rpm; the values are mV, °C, rpm.
Scale UnitScale(InputKind kind) {
    return kind == InputKind::Temperature ? Scale{1, 1000} : Scale{1, 1};
}

std::string JoinTitles(const std::vector<WiringItem>& items) {
    std::string text;
    for (WiringItem item : items)
        text += (text.empty() ? "" : ", ") + std::string(WiringItemTitle(item));
    return text;
}

class Placer {
public:
    explicit Placer(const PlacementInput& in) : in_(in), chips_(*in.Chips) {
        // Preferred chips first: a main super-I/O before a second one of the
        // same driver, then the lower address, then the name.
        for (size_t i = 0; i < chips_.size(); ++i)
            order_.push_back(static_cast<int>(i));
        std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) {
            const SensorChip& x = chips_[a];
            const SensorChip& y = chips_[b];
            const bool xs = IsSecondaryChip(*in_.Map, x.Prefix);
            const bool ys = IsSecondaryChip(*in_.Map, y.Prefix);
            if (xs != ys)
                return !xs;
            if (x.Prefix == y.Prefix && x.Address != y.Address)
                return x.Address < y.Address;
            return false; // keep the name order
        });
        // The map's rows by the value they feed, in the map's order: each
        // value then looks at its own rows only, not at the whole map.
        for (const ChannelEntry& entry : in_.Map->Entries) {
            const int index = TargetIndex(entry, in_.HostVendor);
            const bool isParam = !FeedsSlot(entry);
            if (isParam && index >= 0 && index < kParamCount)
                paramRows_[index].push_back(&entry);
            else if (!isParam && index >= 0 && index < kSlotCount)
                slotRows_[index].push_back(&entry);
        }
        for (const SensorChip& chip : chips_) {
            for (const SensorInput& input : chip.Inputs)
                anyConfigLabel_ = anyConfigLabel_ || input.ConfigLabel;
        }
    }

    Placement Run();

private:
    std::optional<Assignment> Place(bool isParam, int index, std::optional<WiringItem> item,
                                    Placement& out);
    std::optional<Assignment> FromConfiguration(bool isParam, int index);
    std::optional<Assignment> FromGeneric(bool isParam, int index);
    const std::vector<const ChannelEntry*>& RowsFor(bool isParam, int index) const {
        return isParam ? paramRows_[index] : slotRows_[index];
    }
    // The chips a row pattern reads: "*" all of them; any other pattern only
    // the preferred chip that matches it.
    std::vector<int> ChipsFor(const std::string& pattern) const {
        std::vector<int> chips;
        for (int i : order_) {
            if (ChipNameMatches(pattern, chips_[i].Prefix)) {
                chips.push_back(i);
                if (pattern != "*")
                    break;
            }
        }
        return chips;
    }
    // Fills rule-independent parts; the configuration's compute wins.
    Assignment Make(int chip, int input, PlacementRule rule, std::string source, Scale factor) {
        Assignment a;
        a.Chip = chip;
        a.Input = input;
        const SensorInput& in = chips_[chip].Inputs[input];
        a.Rule = rule;
        a.Source = std::move(source);
        a.Factor = factor;
        if (in.ConfigCompute) {
            a.Rule = PlacementRule::Configuration;
            a.Source = in_.ConfigFiles;
            a.ThroughLibsensors = true;
            a.Factor = UnitScale(in.Kind);
        }
        if (rule == PlacementRule::Configuration) {
            a.ThroughLibsensors = true;
            a.Factor = UnitScale(in.Kind);
        }
        a.FirstValue = AssignedValue(a, in.Raw, in.Computed);
        return a;
    }

    const PlacementInput& in_;
    const std::vector<SensorChip>& chips_;
    std::vector<int> order_;
    std::array<std::vector<const ChannelEntry*>, kSlotCount> slotRows_;
    std::array<std::vector<const ChannelEntry*>, kParamCount> paramRows_;
    bool anyConfigLabel_ = false; // an input labelled by the lm-sensors configuration
    const WiringBoard* board_ = nullptr;
};

std::optional<Assignment> Placer::FromConfiguration(bool isParam, int index) {
    if (!anyConfigLabel_)
        return std::nullopt;
    for (const ChannelEntry* row : RowsFor(isParam, index)) {
        const ChannelEntry& entry = *row;
        if (entry.Label.empty())
            continue;
        for (int c : order_) {
            if (!ChipNameMatches(entry.Chip, chips_[c].Prefix))
                continue;
            const auto& inputs = chips_[c].Inputs;
            for (size_t i = 0; i < inputs.size(); ++i) {
                if (inputs[i].ConfigLabel && SameText(inputs[i].Label, entry.Label))
                    return Make(c, static_cast<int>(i), PlacementRule::Configuration,
                                in_.ConfigFiles, UnitScale(inputs[i].Kind));
            }
        }
    }
    return std::nullopt;
}

std::optional<Assignment> Placer::FromGeneric(bool isParam, int index) {
    for (const ChannelEntry* row : RowsFor(isParam, index)) {
        const ChannelEntry& entry = *row;
        const std::string stem = EntryStem(entry);
        for (int c : ChipsFor(entry.Chip)) {
            const auto& inputs = chips_[c].Inputs;
            for (size_t i = 0; i < inputs.size(); ++i) {
                // A label the configuration gave does not hide the driver's own.
                const bool found = entry.Label.empty()
                                       ? inputs[i].Stem == stem
                                       : SameText(inputs[i].Label, entry.Label) ||
                                             SameText(inputs[i].DriverLabel, entry.Label);
                if (!found)
                    continue;
                const Scale factor = entry.ExplicitScale ? Scale{entry.Multiply, entry.Divide}
                                                         : UnitScale(inputs[i].Kind);
                return Make(c, static_cast<int>(i), PlacementRule::GenericDefault,
                            in_.MapName + ":" + std::to_string(entry.Line), factor);
            }
        }
    }
    return std::nullopt;
}

std::optional<Assignment> Placer::Place(bool isParam, int index, std::optional<WiringItem> item,
                                        Placement& out) {
    const WiringLine* line = board_ && item ? board_->LineFor(*item) : nullptr;
    // A configured label names the input but says nothing of its divider: it
    // decides where the board has no wiring row for the item, or where the
    // configuration also computes the value.
    if (auto a = FromConfiguration(isParam, index)) {
        if (!line || chips_[a->Chip].Inputs[a->Input].ConfigCompute)
            return a;
    }
    if (line && line->None) {
        out.NotMonitored[static_cast<int>(*item)] = true;
        return std::nullopt;
    }
    if (line) {
        const WiringChip& wanted = board_->Chips[line->Chip];
        for (int c : order_) {
            if (!WiringChipMatches(wanted, chips_[c].Prefix, chips_[c].Address))
                continue;
            const auto& inputs = chips_[c].Inputs;
            for (size_t i = 0; i < inputs.size(); ++i) {
                if (inputs[i].Stem != line->Input)
                    continue;
                const Scale factor =
                    inputs[i].Kind == InputKind::Voltage ? line->Factor : UnitScale(inputs[i].Kind);
                return Make(c, static_cast<int>(i), PlacementRule::WiringRow,
                            board_->File + ":" + std::to_string(line->Line), factor);
            }
        }
        const bool said = std::any_of(out.Unplaced.begin(), out.Unplaced.end(),
                                      [&](const auto& u) { return u.first == *item; });
        if (!said) {
            std::string chipName = wanted.Name;
            if (wanted.Address) {
                char address[16];
                std::snprintf(address, sizeof address, "@%04x", *wanted.Address);
                chipName += address;
            }
            out.Unplaced.emplace_back(*item, board_->File + ":" + std::to_string(line->Line) +
                                                 ": wired to " + chipName + " " + line->Input +
                                                 ", which this machine does not have");
        }
        return std::nullopt;
    }
    return FromGeneric(isParam, index);
}

Placement Placer::Run() {
    Placement out;
    out.Board = in_.BoardVendor + " / " + in_.BoardName;
    board_ = in_.Wiring ? FindWiringBoard(*in_.Wiring, in_.BoardVendor, in_.BoardName) : nullptr;
    if (board_)
        out.BoardSource = board_->File + ":" + std::to_string(board_->Line);

    auto itemOfSlot = [&](int slot) -> std::optional<WiringItem> {
        for (int i = 0; i < kWiringItemCount; ++i) {
            const auto item = static_cast<WiringItem>(i);
            if (ItemSlot(item, in_.HostVendor) == slot)
                return item;
        }
        return std::nullopt;
    };
    auto itemOfParam = [&](int param) -> std::optional<WiringItem> {
        for (int i = 0; i < kWiringItemCount; ++i) {
            const auto item = static_cast<WiringItem>(i);
            if (ItemParam(item) == param)
                return item;
        }
        return std::nullopt;
    };
    // Every slot and byte that an item stands for or a map row feeds.
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const auto item = itemOfSlot(slot);
        if (!item && RowsFor(false, slot).empty())
            continue;
        out.Slots[slot] = Place(false, slot, item, out);
        if (out.Slots[slot])
            out.Slots[slot]->Item = item;
    }
    for (int param = 0; param < kParamCount; ++param) {
        const auto item = itemOfParam(param);
        if (!item && RowsFor(true, param).empty())
            continue;
        out.Params[param] = Place(true, param, item, out);
        if (out.Params[param])
            out.Params[param]->Item = item;
    }

    // Rails through guessed wiring whose first value is not that rail.
    for (auto& slot : out.Slots) {
        if (!slot || slot->Rule != PlacementRule::GenericDefault || !slot->Item ||
            !IsRail(*slot->Item) || !slot->FirstValue || *slot->FirstValue == 0)
            continue;
        const RailWindow window = *PlausibleWindow(*slot->Item);
        if (*slot->FirstValue >= window.Low && *slot->FirstValue <= window.High)
            continue;
        slot->Unchecked = true;
        const SensorChip& chip = chips_[slot->Chip];
        char volts[32];
        std::snprintf(volts, sizeof volts, "%.2f V", static_cast<double>(*slot->FirstValue) / 1000);
        out.Notices.push_back(std::string(WiringItemTitle(*slot->Item)) + " reads " + volts +
                              " through generic wiring (" + chip.Name + " " +
                              chip.Inputs[slot->Input].Stem +
                              "), which does not look like that rail: shown, not checked; run "
                              "`sentinax4 --sensors` and add a wiring row for this board");
    }

    int placed = 0;
    for (const auto& a : out.Slots)
        placed += a ? 1 : 0;
    for (const auto& a : out.Params)
        placed += a ? 1 : 0;
    if (placed == 0) {
        std::string found;
        for (const SensorChip& chip : chips_)
            found += (found.empty() ? "" : ", ") + chip.Name;
        out.Notices.push_back("no known sensor chip (found: " + (found.empty() ? "none" : found) +
                              "): nothing can be read; run `sentinax4 --sensors`");
        return out;
    }

    const auto& cpu = out.Params[0];
    if (cpu && chips_[cpu->Chip].Prefix == "acpitz")
        out.Notices.push_back("the CPU temperature is the ACPI thermal zone's (" +
                              chips_[cpu->Chip].Name + "): no CPU sensor driver is loaded");
    if (cpu) {
        const SensorChip& chip = chips_[cpu->Chip];
        const auto crit =
            ReadIntegerFile(AttributePath(chip, chip.Inputs[cpu->Input].Stem + "_crit"));
        if (crit && *crit > 0 && *crit / 1000 <= 150)
            out.CpuTempCrit = static_cast<int>(*crit / 1000);
    }

    for (const auto& [item, why] : out.Unplaced)
        out.Notices.push_back(std::string(WiringItemTitle(item)) + " cannot be read: " + why);
    std::vector<WiringItem> missing;
    for (int i = 0; i < kWiringItemCount; ++i) {
        const auto item = static_cast<WiringItem>(i);
        const auto slot = ItemSlot(item, in_.HostVendor);
        const auto param = ItemParam(item);
        const bool has = (slot && out.Slots[*slot]) || (param && out.Params[*param]);
        const bool said = std::any_of(out.Unplaced.begin(), out.Unplaced.end(),
                                      [&](const auto& u) { return u.first == item; });
        if (!has && !said && !out.NotMonitored[i])
            missing.push_back(item);
    }
    if (!missing.empty())
        out.Notices.push_back("no input known for " + JoinTitles(missing) +
                              " on this board: shown as N A or 0; run `sentinax4 --sensors`");
    return out;
}

} // namespace

std::optional<RailWindow> PlausibleWindow(WiringItem item) {
    switch (item) {
    case WiringItem::Vcore:
        return RailWindow{400, 2000};
    case WiringItem::V33:
        return RailWindow{2310, 4290};
    case WiringItem::V5:
        return RailWindow{3500, 6500};
    case WiringItem::V12:
        return RailWindow{8400, 15600};
    default:
        return std::nullopt;
    }
}

std::optional<int64_t> AssignedValue(const Assignment& a, std::optional<int64_t> raw,
                                     std::optional<int64_t> computed) {
    const auto& source = a.ThroughLibsensors ? computed : raw;
    if (!source)
        return std::nullopt;
    return a.Factor.Apply(*source);
}

std::optional<int> ItemSlot(WiringItem item, uint32_t hostVendor) {
    switch (item) {
    case WiringItem::Vcore:
        return 0;
    case WiringItem::V33:
        return 2;
    case WiringItem::V5:
        return 3;
    case WiringItem::V12:
        return 4;
    case WiringItem::SysTemp:
        return 7;
    case WiringItem::CpuFan:
        return FanRoleSlot(ChannelEntry::Target::CpuFan, hostVendor);
    case WiringItem::SysFan:
        return FanRoleSlot(ChannelEntry::Target::SysFan, hostVendor);
    case WiringItem::Fan3:
        return FanRoleSlot(ChannelEntry::Target::ThirdFan, hostVendor);
    case WiringItem::CpuTemp:
        break;
    }
    return std::nullopt;
}

std::optional<int> ItemParam(WiringItem item) {
    if (item == WiringItem::CpuTemp)
        return 0;
    if (item == WiringItem::SysTemp)
        return 1;
    return std::nullopt;
}

std::string RuleText(const Assignment& a) {
    switch (a.Rule) {
    case PlacementRule::Configuration:
        return "lm-sensors configuration";
    case PlacementRule::WiringRow:
        return "wiring row " + a.Source;
    case PlacementRule::GenericDefault:
        return "generic default " + a.Source;
    }
    return {};
}

Placement PlaceSensors(const PlacementInput& input) {
    return Placer(input).Run();
}

} // namespace hmio
