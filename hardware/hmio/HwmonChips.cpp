#include "HwmonChips.h"

#include "TextParse.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <set>
#include <unistd.h>

namespace hmio {

namespace {

std::string Chomp(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ' || text.back() == '\r'))
        text.pop_back();
    return text;
}

// The last component of a link's target; empty when it is no link.
std::string LinkBaseName(const std::string& link) {
    char target[PATH_MAX];
    const ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
    if (n <= 0)
        return {};
    target[n] = '\0';
    const char* slash = std::strrchr(target, '/');
    return slash ? std::string(slash + 1) : std::string(target);
}

bool IsDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "in12_input" -> "in12"; empty for anything else.
std::string InputStem(std::string_view file) {
    constexpr std::string_view suffix = "_input";
    if (file.size() <= suffix.size() || file.substr(file.size() - suffix.size()) != suffix)
        return {};
    const std::string stem(file.substr(0, file.size() - suffix.size()));
    for (std::string_view prefix : {"in", "fan", "temp"}) {
        if (stem.size() > prefix.size() && stem.compare(0, prefix.size(), prefix) == 0 &&
            IsDigits(std::string_view(stem).substr(prefix.size())))
            return stem;
    }
    return {};
}

void CollectStems(const std::string& folder, std::set<std::string>& stems) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        std::string stem = InputStem(entry->d_name);
        if (!stem.empty())
            stems.insert(std::move(stem));
    }
    ::closedir(dir);
}

// Stems in the kernel's order: by kind, then by number (in2 before in10).
bool StemLess(const std::string& a, const std::string& b) {
    auto split = [](const std::string& s) {
        size_t i = 0;
        while (i < s.size() && (s[i] < '0' || s[i] > '9'))
            ++i;
        return std::pair<std::string, long>(s.substr(0, i),
                                            std::strtol(s.c_str() + i, nullptr, 10));
    };
    return split(a) < split(b);
}

} // namespace

const SensorInput* SensorChip::Find(const std::string& stem) const {
    for (const SensorInput& input : Inputs) {
        if (input.Stem == stem)
            return &input;
    }
    return nullptr;
}

std::optional<InputKind> KindOfStem(const std::string& stem) {
    if (stem.rfind("temp", 0) == 0)
        return InputKind::Temperature;
    if (stem.rfind("fan", 0) == 0)
        return InputKind::Fan;
    if (stem.rfind("in", 0) == 0)
        return InputKind::Voltage;
    return std::nullopt;
}

void NameChipLikeLibsensors(SensorChip& chip) {
    const std::string device = LinkBaseName(chip.Folder + "device");
    const std::string subsystem =
        device.empty() ? std::string() : LinkBaseName(chip.Folder + "device/subsystem");
    const bool any = subsystem.empty();
    char name[256];
    short busNumber = 0;
    unsigned address = 0;
    unsigned domain = 0, bus = 0, slot = 0, function = 0;
    int platformAddress = 0;
    chip.Address = 0;
    if (device.empty()) {
        chip.Bus = "virtual";
        std::snprintf(name, sizeof name, "%s-virtual-0", chip.Prefix.c_str());
    } else if ((any || subsystem == "i2c") &&
               std::sscanf(device.c_str(), "%hd-%x", &busNumber, &address) == 2) {
        chip.Address = static_cast<int>(address);
        if (busNumber == 9191) { // the legacy ISA pseudo-bus
            chip.Bus = "isa";
            std::snprintf(name, sizeof name, "%s-isa-%04x", chip.Prefix.c_str(), address);
        } else {
            chip.Bus = "i2c";
            std::snprintf(name, sizeof name, "%s-i2c-%hd-%02x", chip.Prefix.c_str(), busNumber,
                          address);
        }
    } else if ((any || subsystem == "spi") &&
               std::sscanf(device.c_str(), "spi%hd.%u", &busNumber, &address) == 2) {
        chip.Bus = "spi";
        chip.Address = static_cast<int>(address);
        std::snprintf(name, sizeof name, "%s-spi-%hd-%x", chip.Prefix.c_str(), busNumber, address);
    } else if ((any || subsystem == "pci") &&
               std::sscanf(device.c_str(), "%x:%x:%x.%x", &domain, &bus, &slot, &function) == 4) {
        chip.Bus = "pci";
        chip.Address = static_cast<int>((domain << 16) + (bus << 8) + (slot << 3) + function);
        std::snprintf(name, sizeof name, "%s-pci-%04x", chip.Prefix.c_str(), chip.Address);
    } else if (any || subsystem == "platform" || subsystem == "of_platform") {
        chip.Bus = "isa";
        if (std::sscanf(device.c_str(), "%*[a-z0-9_].%d", &platformAddress) == 1)
            chip.Address = platformAddress;
        std::snprintf(name, sizeof name, "%s-isa-%04x", chip.Prefix.c_str(), chip.Address);
    } else if (subsystem == "acpi") {
        chip.Bus = "acpi";
        std::snprintf(name, sizeof name, "%s-acpi-0", chip.Prefix.c_str());
    } else {
        // Devices of other buses (wmi, ...) are named as libsensors names them.
        chip.Bus = "virtual";
        std::snprintf(name, sizeof name, "%s-virtual-0", chip.Prefix.c_str());
    }
    chip.Name = name;
}

std::string AttributePath(const SensorChip& chip, const std::string& attribute) {
    const std::string direct = chip.Folder + attribute;
    if (::access(direct.c_str(), F_OK) == 0)
        return direct;
    const std::string old = chip.Folder + "device/" + attribute;
    return ::access(old.c_str(), F_OK) == 0 ? old : direct;
}

std::optional<int64_t> ReadIntegerFile(const std::string& path) {
    const auto text = ReadWholeFile(path, 64);
    if (!text)
        return std::nullopt;
    const std::string value = Chomp(*text);
    int64_t number = 0;
    const char* first = value.data();
    const char* last = value.data() + value.size();
    const auto [end, error] = std::from_chars(first, last, number);
    if (error != std::errc() || end != last || first == last)
        return std::nullopt;
    return number;
}

std::optional<SensorChip> ScanHwmonFolder(const std::string& folder) {
    SensorChip chip;
    chip.Folder = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    auto name = ReadWholeFile(chip.Folder + "name", 256);
    if (!name)
        name = ReadWholeFile(chip.Folder + "device/name", 256);
    if (!name || Chomp(*name).empty())
        return std::nullopt;
    chip.Prefix = Chomp(*name);
    NameChipLikeLibsensors(chip);
    std::set<std::string> stems;
    CollectStems(chip.Folder, stems);
    CollectStems(chip.Folder + "device/", stems);
    std::vector<std::string> ordered(stems.begin(), stems.end());
    std::sort(ordered.begin(), ordered.end(), StemLess);
    for (const std::string& stem : ordered) {
        SensorInput input;
        input.Stem = stem;
        input.Kind = *KindOfStem(stem);
        const auto label = ReadWholeFile(AttributePath(chip, stem + "_label"), 256);
        input.Label = label && !Chomp(*label).empty() ? Chomp(*label) : stem;
        input.DriverLabel = input.Label;
        chip.Inputs.push_back(std::move(input));
    }
    return chip;
}

std::vector<SensorChip> ScanHwmonFolders(const std::string& sysClassHwmon) {
    std::vector<SensorChip> chips;
    DIR* dir = ::opendir(sysClassHwmon.c_str());
    if (!dir)
        return chips;
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strncmp(entry->d_name, "hwmon", 5) == 0)
            names.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    for (const std::string& name : names) {
        if (auto chip = ScanHwmonFolder(sysClassHwmon + name + "/"))
            chips.push_back(std::move(*chip));
    }
    SortChips(chips);
    return chips;
}

void SortChips(std::vector<SensorChip>& chips) {
    std::sort(chips.begin(), chips.end(), [](const SensorChip& a, const SensorChip& b) {
        return a.Name != b.Name ? a.Name < b.Name : a.Folder < b.Folder;
    });
}

} // namespace hmio
