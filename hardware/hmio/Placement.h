// Which chip input feeds which value of the library's blocks, and why.
//
// Precedence, for each value (the RawValues slot or ChipParams byte of an
// item):
//   1. the user's lm-sensors configuration: an input whose configured label
//      names the item (the channel map's label rows give the names);
//   2. the board's wiring rows (the user's file before the shipped one; the
//      first board block that matches the DMI strings);
//   3. the chip's generic defaults: the channel map's rows, in order.
// Wherever the configuration's compute changes an input's value, that input
// is read through libsensors with the configuration's result, whichever rule
// placed it. A rail placed by generic defaults whose first value is far from
// the rail's nominal value is marked unchecked: shown, not checked.
#pragma once

#include "BoardWiring.h"
#include "ChannelMap.h"
#include "HwmonChips.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace hmio {

constexpr int kSlotCount = 30;
constexpr int kParamCount = 8;

enum class PlacementRule { Configuration, WiringRow, GenericDefault };

struct Assignment {
    int Chip = -1;  // index into the placement's chips
    int Input = -1; // index into that chip's inputs
    PlacementRule Rule = PlacementRule::GenericDefault;
    std::string Source;                // "file:line" of the row; the configuration: its files
    Scale Factor;                      // applied to the integer read (mV, m°C or rpm)
    bool ThroughLibsensors = false;    // the configuration's compute applies
    bool Unchecked = false;            // implausible first value through generic defaults
    std::optional<WiringItem> Item;    // the item it stands for, where it is one
    std::optional<int64_t> FirstValue; // in the value's units (mV, °C, rpm)
};

// The documented window of a plausible reading for each rail read through
// generic defaults, in mV: within 30 % of 3.3, 5 and 12 V; Vcore 0.4 to 2.0 V.
struct RailWindow {
    int64_t Low;
    int64_t High;
};
std::optional<RailWindow> PlausibleWindow(WiringItem item);

struct Placement {
    std::array<std::optional<Assignment>, kSlotCount> Slots;
    std::array<std::optional<Assignment>, kParamCount> Params;
    std::string Board;       // "vendor / name" as DMI gives them
    std::string BoardSource; // "file:line" of the matching block; empty: none
    std::array<bool, kWiringItemCount> NotMonitored{}; // `<item> none` in the block
    // Items the board wires (or would have) that no input feeds, each with why.
    std::vector<std::pair<WiringItem, std::string>> Unplaced;
    int CpuTempCrit = 0; // °C; 0 when the CPU sensor gives no usable limit
    // Messages for the user, in order (each said once by the caller).
    std::vector<std::string> Notices;
};

struct PlacementInput {
    const std::vector<SensorChip>* Chips = nullptr;
    std::string BoardVendor;
    std::string BoardName;
    uint32_t HostVendor = 0;
    const BoardWiring* Wiring = nullptr;
    const ChannelMap* Map = nullptr;
    std::string MapName;     // for "generic default <file>:<line>"
    std::string ConfigFiles; // the configuration files in use, for the report
};

// The value an input gives through an assignment, from the integers read
// (raw: the attribute's own; computed: libsensors' result in the same units).
std::optional<int64_t> AssignedValue(const Assignment& assignment, std::optional<int64_t> raw,
                                     std::optional<int64_t> computed);

// Places every item. The chips carry their first values (Raw, Computed,
// ConfigCompute). Reads the CPU sensor's crit attribute from its folder.
Placement PlaceSensors(const PlacementInput& input);

// The targets of an item on this host: its RawValues slot (fans by the host's
// vendor) and, for the temperatures, its ChipParams byte.
std::optional<int> ItemSlot(WiringItem item, uint32_t hostVendor);
std::optional<int> ItemParam(WiringItem item);

// The rule's name in the report: "lm-sensors configuration",
// "wiring row <file>:<line>", "generic default <file>:<line>".
std::string RuleText(const Assignment& assignment);

} // namespace hmio
