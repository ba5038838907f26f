// The board wiring file: for a board (by its DMI vendor and name), which chip
// input carries which value and through which divider. Format (a board block):
//
//     board "<DMI board_vendor>" "<DMI board_name>"
//       chip <hwmon name>[@<address>]     # the chip the following lines read
//       <item> <input> [<scale>]          # one line per item the board wires
//       <item> none                       # the board does not monitor this item
//     end
//
// items: vcore v33 v5 v12 cputemp systemp cpufan sysfan fan3; inputs: in0..,
// temp1.., fan1..; scale (voltages only): *N, *N/D, or div R1/R2 (a resistor
// divider, 1 + R1/R2, decimals allowed). '#' starts a comment. A bad line is
// reported as "file:line: message" and skipped; the block's other lines count.
// The full description is docs/board-wiring.md.
#pragma once

#include "TextParse.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hmio {

// The values a board wires, in the order the monitor shows them.
enum class WiringItem { Vcore, CpuTemp, SysTemp, V33, V5, V12, CpuFan, SysFan, Fan3 };
constexpr int kWiringItemCount = 9;

// The item's word in the file ("vcore") and its name for the user ("+12 V").
std::string_view WiringItemWord(WiringItem item);
std::string_view WiringItemTitle(WiringItem item);

// A factor Multiply / Divide (both positive).
struct Scale {
    int64_t Multiply = 1;
    int64_t Divide = 1;
    bool IsOne() const { return Multiply == Divide; }
    int64_t Apply(int64_t raw) const; // truncated toward zero
};
// "x12", "x168/100", "x4" as the report writes a scale.
std::string ScaleText(const Scale& scale);

struct WiringChip {
    std::string Name;           // the hwmon name, exactly
    std::optional<int> Address; // the address in libsensors' chip name
    int Line = 0;
};

struct WiringLine {
    WiringItem Item = WiringItem::Vcore;
    bool None = false; // the board does not monitor this item
    int Chip = -1;     // index into the block's Chips
    std::string Input; // in0, temp2, fan1
    Scale Factor;
    int Line = 0;
};

struct WiringBoard {
    std::string Vendor;
    std::string Name; // a trailing '*' matches any rest
    std::string File;
    int Line = 0;
    std::vector<WiringChip> Chips;
    std::vector<WiringLine> Lines;

    // The line for an item, or null when the block does not mention it.
    const WiringLine* LineFor(WiringItem item) const;
};

struct BoardWiring {
    std::vector<WiringBoard> Boards; // in file order; earlier files first
};

// Parses one wiring file; its boards are appended to wiring.
void ParseBoardWiring(std::string_view text, const std::string& fileName, BoardWiring& wiring,
                      ParseErrors& errors);

// The first board whose vendor and name match the DMI strings (compared after
// trimming surrounding white space, ignoring case; a name ending in '*'
// matches any rest). Null when none does.
const WiringBoard* FindWiringBoard(const BoardWiring& wiring, std::string_view vendor,
                                   std::string_view name);

// Whether a wiring chip line names this chip (hwmon name and, when given,
// the address).
bool WiringChipMatches(const WiringChip& line, std::string_view prefix, int address);

} // namespace hmio
