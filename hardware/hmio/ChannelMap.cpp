#include "ChannelMap.h"

namespace hmio {

namespace {

bool ValidInputName(std::string_view name) {
    if (name.empty() || name.size() > 64)
        return false;
    for (char c : name) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
        if (!ok)
            return false;
    }
    return true;
}

bool IsTemperatureInput(std::string_view input) {
    return input.substr(0, 4) == "temp";
}

// "slot7", "param0" or a fan role.
bool ParseTarget(std::string_view word, ChannelEntry& entry) {
    if (word == "cpufan" || word == "sysfan" || word == "fan3") {
        entry.Kind = word == "cpufan"   ? ChannelEntry::Target::CpuFan
                     : word == "sysfan" ? ChannelEntry::Target::SysFan
                                        : ChannelEntry::Target::ThirdFan;
        return true;
    }
    std::string_view number;
    if (word.substr(0, 4) == "slot") {
        entry.Kind = ChannelEntry::Target::Slot;
        number = word.substr(4);
    } else if (word.substr(0, 5) == "param") {
        entry.Kind = ChannelEntry::Target::Param;
        number = word.substr(5);
    } else {
        return false;
    }
    if (number.empty() || number[0] < '0' || number[0] > '9')
        return false;
    const auto index = ParseInteger(number);
    const int limit = entry.Kind == ChannelEntry::Target::Slot ? 30 : 8;
    if (!index || *index < 0 || *index >= limit)
        return false;
    entry.Index = static_cast<int>(*index);
    return true;
}

// "*12", "/1000", "*56/10".
bool ParseScale(std::string_view word, ChannelEntry& entry) {
    int64_t multiply = 1, divide = 1;
    bool any = false;
    while (!word.empty()) {
        const char op = word[0];
        if (op != '*' && op != '/')
            return false;
        word.remove_prefix(1);
        size_t len = 0;
        while (len < word.size() && word[len] >= '0' && word[len] <= '9')
            ++len;
        const auto number = ParseInteger(word.substr(0, len));
        if (!number || *number <= 0 || *number > 1000000)
            return false;
        (op == '*' ? multiply : divide) *= *number;
        if (multiply > 1000000 || divide > 1000000)
            return false;
        word.remove_prefix(len);
        any = true;
    }
    if (!any)
        return false;
    entry.Multiply = multiply;
    entry.Divide = divide;
    return true;
}

} // namespace

ChannelMap ParseChannelMap(std::string_view text, const std::string& fileName,
                           ParseErrors& errors) {
    ChannelMap map;
    ForEachLine(text, [&](int number, std::string_view line) {
        std::vector<std::string> owned;
        if (!SplitQuotedWords(line, owned)) {
            errors.push_back(LineError(fileName, number, "unclosed quote"));
            return;
        }
        // A quoted second word is a label; remember it before the quotes are gone.
        const bool labelled = [&] {
            const auto plain = SplitWords(line);
            return plain.size() >= 2 && !plain[1].empty() && plain[1][0] == '"';
        }();
        const std::vector<std::string_view> words(owned.begin(), owned.end());
        if (!words.empty() && words[0] == "secondary") {
            if (words.size() < 2)
                errors.push_back(LineError(fileName, number, "expected: secondary <chip>..."));
            for (size_t i = 1; i < words.size(); ++i)
                map.Secondary.emplace_back(words[i]);
            return;
        }
        if (!words.empty() && words[0] == "ec-ports") {
            if (words.size() == 2 &&
                (words[1] == "none" || words[1] == "raw" || words[1] == "raw-force")) {
                map.EcPorts = words[1] == "none"  ? EcPortAccess::None
                              : words[1] == "raw" ? EcPortAccess::Raw
                                                  : EcPortAccess::Force;
            } else {
                errors.push_back(
                    LineError(fileName, number, "expected: ec-ports none|raw|raw-force"));
            }
            return;
        }
        if (words.size() < 3 || words.size() > 4) {
            errors.push_back(
                LineError(fileName, number,
                          "expected: <chip> <input> slot<N>|param<N>|cpufan|sysfan|fan3 [scale]"));
            return;
        }
        ChannelEntry entry;
        entry.Line = number;
        entry.Chip = std::string(words[0]);
        const size_t star = entry.Chip.find('*');
        if (entry.Chip.size() > 64 ||
            (star != std::string::npos && star + 1 != entry.Chip.size())) {
            errors.push_back(LineError(fileName, number, "bad chip name '" + entry.Chip + "'"));
            return;
        }
        if (labelled) {
            if (words[1].empty() || words[1].size() > 64) {
                errors.push_back(LineError(fileName, number, "bad label"));
                return;
            }
            entry.Label = std::string(words[1]);
        } else if (!ValidInputName(words[1])) {
            errors.push_back(
                LineError(fileName, number, "bad input name '" + std::string(words[1]) + "'"));
            return;
        } else {
            entry.Input = std::string(words[1]);
        }
        if (!ParseTarget(words[2], entry)) {
            errors.push_back(
                LineError(fileName, number,
                          "bad target '" + std::string(words[2]) +
                              "' (slot0..slot29, param0..param7, cpufan, sysfan or fan3)"));
            return;
        }
        // A label row's unit is known only when the input is found.
        if (!labelled && IsTemperatureInput(entry.Input))
            entry.Divide = 1000;
        entry.ExplicitScale = words.size() == 4;
        if (words.size() == 4 && !ParseScale(words[3], entry)) {
            errors.push_back(
                LineError(fileName, number,
                          "bad scale '" + std::string(words[3]) + "' (like *12, /1000 or *56/10)"));
            return;
        }
        map.Entries.push_back(std::move(entry));
    });
    return map;
}

int FanRoleSlot(ChannelEntry::Target role, uint32_t vendor) {
    const bool intel = vendor == kIntelVendor;
    switch (role) {
    case ChannelEntry::Target::CpuFan:
        return intel ? 10 : 8;
    case ChannelEntry::Target::SysFan:
        return 9;
    case ChannelEntry::Target::ThirdFan:
        return intel ? 8 : 10;
    case ChannelEntry::Target::Slot:
    case ChannelEntry::Target::Param:
        break;
    }
    return -1;
}

int TargetIndex(const ChannelEntry& entry, uint32_t vendor) {
    if (entry.Kind == ChannelEntry::Target::Slot || entry.Kind == ChannelEntry::Target::Param)
        return entry.Index;
    return FanRoleSlot(entry.Kind, vendor);
}

std::string EntryStem(const ChannelEntry& entry) {
    constexpr std::string_view suffix = "_input";
    const std::string& file = entry.Input;
    if (file.size() <= suffix.size() ||
        file.compare(file.size() - suffix.size(), suffix.size(), suffix) != 0)
        return {};
    return file.substr(0, file.size() - suffix.size());
}

bool IsSecondaryChip(const ChannelMap& map, std::string_view chipName) {
    for (const std::string& pattern : map.Secondary) {
        if (ChipNameMatches(pattern, chipName))
            return true;
    }
    return false;
}

bool ChipNameMatches(std::string_view pattern, std::string_view chipName) {
    if (!pattern.empty() && pattern.back() == '*') {
        pattern.remove_suffix(1);
        return chipName.substr(0, pattern.size()) == pattern;
    }
    return pattern == chipName;
}

int64_t ScaleValue(const ChannelEntry& entry, int64_t raw) {
    constexpr int64_t kLimit = int64_t(1) << 40; // keeps raw * Multiply in range
    if (raw > kLimit)
        raw = kLimit;
    if (raw < -kLimit)
        raw = -kLimit;
    return raw * entry.Multiply / entry.Divide;
}

} // namespace hmio
