// libFuzzer target for libhmio's text parsers: the simulator's scenario files,
// the hwmon channel map and the board wiring file. The first input byte picks
// the parser.
#include "BoardWiring.h"
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
    if (data[0] % 3 == 2) {
        hmio::BoardWiring wiring;
        hmio::ParseBoardWiring(text, "fuzz.table", wiring, errors);
        for (const auto& board : wiring.Boards) {
            for (const auto& line : board.Lines)
                (void)line.Factor.Apply(INT64_MAX / 4);
        }
        (void)hmio::FindWiringBoard(wiring, "Vendor", "Name");
    } else if (data[0] & 1) {
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
