// The hwmon channel map: which kernel hwmon input feeds which RawValues slot or
// ChipParams byte. Rows are data (data/hwmon-channels.map); the row order is the
// priority when several chips could feed the same target.
#pragma once

#include "TextParse.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hmio {

struct ChannelEntry {
    // Slot and Param name their index; a fan role is placed into a RawValues
    // slot by the host's vendor (FanRoleSlot).
    enum class Target { Slot, Param, CpuFan, SysFan, ThirdFan };
    // The chip's hwmon "name"; a trailing '*' matches any rest ("it87*"),
    // "*" alone any chip.
    std::string Chip;
    std::string Input; // attribute file name, e.g. "temp1_input"; empty for a label row
    // The input's label ("+12V", "CPU Fan", "Tdie"), compared ignoring case;
    // empty when the row names the input by its file.
    std::string Label;
    Target Kind = Target::Slot;
    int Index = 0; // 0..29 for a slot, 0..7 for a ChipParams byte; unused for a fan role
    // value = raw * Multiply / Divide, truncated toward zero. Temperature inputs
    // without an explicit scale are millidegrees: Divide 1000.
    int64_t Multiply = 1;
    int64_t Divide = 1;
    bool ExplicitScale = false; // the row gives a scale
    int Line = 0;               // line in the map file, for messages
};

// Whether the library may drive the embedded controller's ports itself.
enum class EcPortAccess {
    None,  // never (the default)
    Raw,   // through dev/port, unless the kernel's ACPI EC driver owns the ports
    Force, // through dev/port even then (races with the kernel: known boards only)
};

struct ChannelMap {
    std::vector<ChannelEntry> Entries; // in file order
    EcPortAccess EcPorts = EcPortAccess::None;
    // Chips that are a board's second super-I/O of their driver (it8792):
    // read only where no main chip of the same row is there.
    std::vector<std::string> Secondary;
};

// The input stem a file row names ("in0_input" -> "in0"); empty for a label
// row or another attribute.
std::string EntryStem(const ChannelEntry& entry);
bool IsSecondaryChip(const ChannelMap& map, std::string_view chipName);

// Where the library delivers the fans: the CPU, system and third fan sit in
// slots 10, 9 and 8 on Intel hosts (vendor 0x8086) and in 8, 9 and 10 on all
// others, which is where a stock board's profile looks for them.
constexpr uint32_t kIntelVendor = 0x8086;
int FanRoleSlot(ChannelEntry::Target role, uint32_t vendor);
// The RawValues slot or ChipParams byte an entry feeds on this host.
int TargetIndex(const ChannelEntry& entry, uint32_t vendor);
inline bool FeedsSlot(const ChannelEntry& entry) {
    return entry.Kind != ChannelEntry::Target::Param;
}

// Parses the map text. Rows: <chip> <input file or "label"> <target> [scale];
// ec-ports none|raw|raw-force; secondary <chip>... A malformed row is reported in errors as
// "fileName:line: ..." and left out; the other rows still count.
ChannelMap ParseChannelMap(std::string_view text, const std::string& fileName, ParseErrors& errors);

bool ChipNameMatches(std::string_view pattern, std::string_view chipName);
// value scaled as the entry says, truncated toward zero.
int64_t ScaleValue(const ChannelEntry& entry, int64_t raw);

// The shipped map file, embedded at build time (the same bytes as
// data/hwmon-channels.map), used when no map file is found at run time.
std::string_view BuiltinChannelMapText();

} // namespace hmio
