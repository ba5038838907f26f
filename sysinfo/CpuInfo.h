// Processor packages from /proc/cpuinfo: the logical processors (blocks
// separated by an empty line) grouped by their "physical id". Architectures
// without that field give one package holding every logical processor.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sentinax {

struct CpuPackage {
    int PhysicalId = 0;
    // The fields of the package's first logical processor ("model name", "vendor_id", ...).
    std::map<std::string, std::string> Fields;
    // The "processor" numbers of its logical processors, in file order.
    std::vector<int> LogicalIds;
    // Distinct "core id" values seen; 0 when the file names none.
    int CoreIdCount = 0;

    std::optional<std::string> Field(const std::string& key) const;
    // The model name, under whichever field the architecture uses.
    std::optional<std::string> Name() const;
    bool HasFlag(std::string_view flag) const;
};

// Packages in order of their physical id.
std::vector<CpuPackage> ParseCpuInfo(std::string_view text);

} // namespace sentinax
