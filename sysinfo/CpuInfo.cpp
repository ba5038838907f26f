#include "CpuInfo.h"

#include "DeviceFacts.h"
#include "SysFiles.h"

#include <set>

namespace sentinax {

std::optional<std::string> CpuPackage::Field(const std::string& key) const {
    const auto it = Fields.find(key);
    if (it == Fields.end() || it->second.empty()) {
        return std::nullopt;
    }
    return it->second;
}

std::optional<std::string> CpuPackage::Name() const {
    for (const char* key : {"model name", "Processor", "cpu model", "uarch", "cpu", "Hardware"}) {
        if (auto name = Field(key)) {
            // Some firmware pads the brand string with runs of blanks.
            std::string squeezed;
            for (const char c : *name) {
                if (c != ' ' || (!squeezed.empty() && squeezed.back() != ' ')) {
                    squeezed += c;
                }
            }
            return NonEmpty(std::string(Trim(squeezed)));
        }
    }
    return std::nullopt;
}

bool CpuPackage::HasFlag(std::string_view flag) const {
    const auto flags = Field("flags");
    if (!flags) {
        return false;
    }
    std::string_view rest = *flags;
    while (!rest.empty()) {
        const auto end = rest.find(' ');
        if (rest.substr(0, end) == flag) {
            return true;
        }
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    }
    return false;
}

std::vector<CpuPackage> ParseCpuInfo(std::string_view text) {
    std::map<int, CpuPackage> packages;
    std::map<int, std::set<std::string>> coreIds;
    std::map<std::string, std::string> block;
    // Fields outside any processor block (the "Hardware" line of ARM boards).
    std::map<std::string, std::string> global;

    const auto flush = [&] {
        if (block.empty()) {
            return;
        }
        const auto processor = block.find("processor");
        if (processor == block.end() || !ParseUnsigned(processor->second)) {
            global.insert(block.begin(), block.end());
            block.clear();
            return;
        }
        const auto physical = block.find("physical id");
        const int id = physical == block.end()
                           ? 0
                           : static_cast<int>(ParseUnsigned(physical->second).value_or(0));
        CpuPackage& package = packages[id];
        package.PhysicalId = id;
        if (package.Fields.empty()) {
            package.Fields = block;
        }
        package.LogicalIds.push_back(static_cast<int>(*ParseUnsigned(processor->second)));
        if (const auto core = block.find("core id"); core != block.end()) {
            coreIds[id].insert(core->second);
        }
        block.clear();
    };

    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (Trim(line).empty()) {
            flush();
            continue;
        }
        const auto colon = line.find(':');
        if (colon == std::string_view::npos) {
            continue;
        }
        block[std::string(Trim(line.substr(0, colon)))] = std::string(Trim(line.substr(colon + 1)));
    }
    flush();

    std::vector<CpuPackage> out;
    for (auto& [id, package] : packages) {
        for (const auto& [key, value] : global) {
            package.Fields.insert({key, value});
        }
        package.CoreIdCount = static_cast<int>(coreIds[id].size());
        out.push_back(std::move(package));
    }
    return out;
}

} // namespace sentinax
