#include "CpuRating.h"

#include <array>
#include <cctype>

namespace sentinax {

namespace {

constexpr std::string_view kAmd = "AuthenticAMD";
constexpr std::string_view kIntel = "GenuineIntel";
constexpr int32_t kIntelUsualTjMax = 100;

// One row of the table: a Ryzen desktop part by family and model number. An
// empty Model covers the whole series (the model number's first digit); rows
// naming a model come before their series' row.
struct RatingRow {
    int Family;
    char Series;
    std::string_view Model;
    int32_t Celsius;
    std::string_view What;
};

constexpr std::array<RatingRow, 12> kRyzenDesktop = {{
    {0x17, '2', "2700X", 85, "AMD Ryzen 7 2700X"},
    {0x19, '5', "5950X", 90, "AMD Ryzen 9 5950X"},
    {0x19, '5', "5900X", 90, "AMD Ryzen 9 5900X"},
    {0x19, '5', "5800X", 90, "AMD Ryzen 7 5800X"},
    {0x17, '1', "", 95, "AMD Ryzen 1000 desktop (Zen)"},
    {0x17, '2', "", 95, "AMD Ryzen 2000 desktop (Zen, Zen+)"},
    {0x17, '3', "", 95, "AMD Ryzen 3000 desktop (Zen+, Zen 2)"},
    {0x17, '4', "", 95, "AMD Ryzen 4000 desktop (Zen 2)"},
    {0x19, '5', "", 95, "AMD Ryzen 5000 desktop (Zen 3)"},
    {0x19, '7', "", 95, "AMD Ryzen 7000 desktop (Zen 4)"},
    {0x19, '8', "", 95, "AMD Ryzen 8000 desktop (Zen 4)"},
    {0x1A, '9', "", 95, "AMD Ryzen 9000 desktop (Zen 5)"},
}};

std::string_view TrimFront(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    return s;
}

bool AllDigits(std::string_view s) {
    for (char c : s) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    }
    return !s.empty();
}

// The model number of a Ryzen desktop part ("7950X", "5800X3D", "5600G",
// "7600"), or empty: not a Ryzen, a mobile part (suffix U, H, HS, HX, M...),
// a Threadripper, a Ryzen AI, or a name we cannot read.
std::string_view RyzenDesktopModel(std::string_view name) {
    std::string_view rest = name;
    bool afterBrand = false;
    while (!rest.empty()) {
        rest = TrimFront(rest);
        const size_t end = rest.find_first_of(" \t");
        const std::string_view word = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end);
        if (!afterBrand) {
            afterBrand = word == "Ryzen";
            continue;
        }
        // "Ryzen 9", "Ryzen 7 PRO": the class and the line come before the number.
        if (word == "PRO" || (word.size() == 1 && AllDigits(word)))
            continue;
        if (word.size() < 4 || !AllDigits(word.substr(0, 4)) ||
            (word.size() > 4 && std::isdigit(static_cast<unsigned char>(word[4]))))
            return {};
        const std::string_view suffix = word.substr(4);
        if (!suffix.empty() && (suffix[0] == 'U' || suffix[0] == 'H' || suffix[0] == 'M'))
            return {};
        return word;
    }
    return {};
}

} // namespace

CpuRating RatingFromTable(const CpuIdentity& cpu) {
    if (cpu.Vendor == kIntel)
        return {kIntelUsualTjMax, RatingSource::Table, "Intel CPU (the usual TjMax)"};
    if (cpu.Vendor != kAmd)
        return {};
    const std::string_view model = RyzenDesktopModel(cpu.ModelName);
    if (model.empty())
        return {};
    for (const RatingRow& row : kRyzenDesktop) {
        if (row.Family != cpu.Family || row.Series != model[0])
            continue;
        if (!row.Model.empty() && row.Model != model)
            continue;
        return {row.Celsius, RatingSource::Table, std::string(row.What)};
    }
    return {};
}

CpuRating DecideCpuRating(int32_t sensorCrit, const CpuRating& fromTable) {
    if (sensorCrit >= kLowestPlausibleCrit && sensorCrit <= kHighestPlausibleCrit)
        return {sensorCrit, RatingSource::SensorCrit, "the CPU sensor's critical limit"};
    return fromTable;
}

} // namespace sentinax
