// libFuzzer target for libhmio's text parsers: the simulator's scenario files
// and the hwmon channel map. The first input byte picks the parser.
#include "ChannelMap.h"
#include "Scenario.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    hmio::ParseErrors errors;
    if (data[0] & 1) {
        hmio::Scenario scenario = hmio::ParseScenario(text, "fuzz.scenario", errors);
        for (auto& slot : scenario.Slots)
            slot.Next(0);
        for (auto& reply : scenario.Ec)
            reply.second.Replies.Next();
    } else {
        const hmio::ChannelMap map = hmio::ParseChannelMap(text, "fuzz.map", errors);
        for (const auto& entry : map.Entries)
            (void)hmio::ScaleValue(entry, INT64_MAX);
    }
    return 0;
}
