// The placement report that `sentinax4 --sensors` prints: every chip and
// input with its label and value, the value it feeds and by which rule, what
// is left unread, and the values that have no input.
#include "HwmonEngine.h"

#include <cstdio>

namespace hmio {

namespace {

std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// An input's own value (mV, m°C or rpm) as the user reads it.
std::string InputValueText(InputKind kind, int64_t units) {
    switch (kind) {
    case InputKind::Voltage:
        return Format("%.3f V", static_cast<double>(units) / 1000);
    case InputKind::Temperature:
        return Format("%.1f C", static_cast<double>(units) / 1000);
    case InputKind::Fan:
        return std::to_string(units) + " rpm";
    }
    return {};
}

// A placed value (mV, whole °C or rpm).
std::string ValueText(InputKind kind, int64_t value) {
    switch (kind) {
    case InputKind::Voltage:
        return Format("%.3f V", static_cast<double>(value) / 1000);
    case InputKind::Temperature:
        return std::to_string(value) + " C";
    case InputKind::Fan:
        return std::to_string(value) + " rpm";
    }
    return {};
}

std::string Padded(std::string text, size_t width) {
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
}

} // namespace

std::string HwmonEngine::Report() {
    Open();
    Refind(false); // the chips as they are now
    std::vector<SensorChip> chips = chips_;
    ReadFirstValues(chips);

    std::string out = "Sentinax 4 sensors\n";
    out += "board: " + placement_.Board;
    char host[48];
    std::snprintf(host, sizeof host, "; host bridge vendor 0x%04x\n", hostVendor_);
    out += host;
    out += "board wiring: " +
           (placement_.BoardSource.empty() ? std::string("no wiring rows for this board")
                                           : "block at " + placement_.BoardSource) +
           "\n";
    std::string files;
    if (sensors_) {
        for (const std::string& file : sensors_->ConfigFiles())
            files += (files.empty() ? "" : ", ") + file;
    }
    out += "lm-sensors configuration: " +
           (!options_.UseLibsensors ? std::string("not used (test root)")
            : files.empty()         ? std::string("none")
                                    : files) +
           "\n";
    if (sensors_) {
        for (const std::string& broken : sensors_->BrokenFiles())
            out += "  left out: " + broken + "\n";
    }

    for (const SensorChip& chip : chips) {
        out += "\n" + chip.Name + "  (" + chip.Folder + ")\n";
        for (const SensorInput& input : chip.Inputs) {
            std::string line = "  " + Padded(input.Stem, 7);
            line +=
                Padded(input.Label == input.Stem ? std::string("-") : '"' + input.Label + '"', 26);
            std::string value = input.Raw ? InputValueText(input.Kind, *input.Raw) : "unreadable";
            if (input.ConfigCompute && input.Computed)
                value += " (configured: " + InputValueText(input.Kind, *input.Computed) + ")";
            line += Padded(value, 21) + " ";
            std::string feeds;
            for (const Channel& channel : channels_) {
                if (channel.ChipName != chip.Name || channel.Stem != input.Stem ||
                    (channel.IsParam && channel.Index == 1 && channel.Placed.Item))
                    continue;
                const std::string title =
                    channel.Placed.Item ? std::string(WiringItemTitle(*channel.Placed.Item))
                    : channel.IsParam   ? "byte " + std::to_string(channel.Index)
                                        : "slot " + std::to_string(channel.Index);
                feeds += (feeds.empty() ? "-> " : "; -> ") + title;
                if (!channel.Placed.Factor.IsOne() && channel.Kind == InputKind::Voltage)
                    feeds += " " + ScaleText(channel.Placed.Factor);
                feeds += ", " + RuleText(channel.Placed);
                if (channel.Placed.Unchecked)
                    feeds += ", not checked (does not look like this rail)";
            }
            out += line + (feeds.empty() ? "unread" : feeds) + "\n";
        }
    }

    out += "\nvalues\n";
    for (int i = 0; i < kWiringItemCount; ++i) {
        const auto item = static_cast<WiringItem>(i);
        std::string line = "  " + Padded(std::string(WiringItemTitle(item)), 20);
        const Channel* feed = nullptr;
        for (const Channel& channel : channels_) {
            if (channel.Placed.Item == item && !(channel.IsParam && channel.Index == 1))
                feed = &channel;
        }
        if (feed) {
            std::optional<int64_t> value;
            for (const SensorChip& chip : chips) {
                const SensorInput* input =
                    chip.Name == feed->ChipName ? chip.Find(feed->Stem) : nullptr;
                if (input && !value)
                    value = AssignedValue(feed->Placed, input->Raw, input->Computed);
            }
            line += Padded(feed->Lost || !value ? std::string("no reading")
                                                : ValueText(feed->Kind, *value),
                           14);
            line += feed->ChipName + " " + feed->Stem + ", " + RuleText(feed->Placed);
            if (feed->Placed.Unchecked)
                line += ", shown but not checked";
            if (feed->Lost)
                line += " (" + feed->Why + ")";
        } else if (placement_.NotMonitored[i]) {
            line += "not monitored on this board (wiring block " + placement_.BoardSource + ")";
        } else {
            std::string why = "no input known";
            for (const auto& [unplaced, reason] : placement_.Unplaced) {
                if (unplaced == item)
                    why = reason;
            }
            line += "not read: " + why;
        }
        out += line + "\n";
    }
    out += "CPU sensor's critical limit: " + std::to_string(placement_.CpuTempCrit) + " C" +
           (placement_.CpuTempCrit == 0 ? " (none given)" : "") + "\n";
    return out;
}

} // namespace hmio
