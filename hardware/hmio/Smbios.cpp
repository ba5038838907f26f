#include "Smbios.h"

#include <algorithm>
#include <cstring>

namespace hmio {

namespace {

// Structures other than the base board are built without two consecutive zero
// bytes in their formatted area: readers that skip a structure by searching for
// the first double zero from its first byte then land on the next structure.
// Unused fields hold 0xFF ("unknown") for the same reason.
class TableWriter {
public:
    // Formatted area (type, length, handle are filled in) and its strings.
    void Add(uint8_t type, std::vector<uint8_t> formatted,
             const std::vector<std::string>& strings) {
        formatted[0] = type;
        formatted[1] = static_cast<uint8_t>(formatted.size());
        formatted[2] = static_cast<uint8_t>(handle_ & 0xFF);
        formatted[3] = static_cast<uint8_t>(handle_ >> 8);
        ++handle_;
        bytes_.insert(bytes_.end(), formatted.begin(), formatted.end());
        bool any = false;
        for (const std::string& s : strings) {
            if (s.empty())
                continue;
            bytes_.insert(bytes_.end(), s.begin(), s.end());
            bytes_.push_back(0);
            any = true;
        }
        if (!any)
            bytes_.push_back(0);
        bytes_.push_back(0);
    }
    std::vector<uint8_t> Take() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
    uint16_t handle_ = 0x1001; // no zero byte in any handle
};

// String numbers for a list in which empty texts are absent (number 0).
std::vector<uint8_t> StringNumbers(const std::vector<std::string>& strings) {
    std::vector<uint8_t> numbers;
    uint8_t next = 1;
    for (const std::string& s : strings)
        numbers.push_back(s.empty() ? 0 : next++);
    return numbers;
}

void PutLe(uint8_t* at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        at[i] = static_cast<uint8_t>(value >> (8 * i));
}

} // namespace

std::vector<uint8_t> BuildBoardTable(const BoardIdentity& board) {
    TableWriter table;

    std::vector<uint8_t> bios(0x18, 0xFF);
    bios[4] = 1; // vendor
    bios[5] = 2; // version
    PutLe(&bios[6], 0xE800, 2);
    bios[8] = 3; // release date
    bios[9] = 0x0F;
    bios[0x10] = 0x01; // characteristics extension bytes
    table.Add(0, bios, {"Simulated BIOS", "1.00", "01/01/2024"});

    const std::vector<std::string> system = {board.Manufacturer, "Simulated System", "1.0"};
    const auto systemNumbers = StringNumbers(system);
    std::vector<uint8_t> sys(0x1B, 0xFF);
    std::copy(systemNumbers.begin(), systemNumbers.end(), sys.begin() + 4);
    sys[0x18] = 6; // wake-up type: power switch
    sys[0x19] = sys[0x1A] = 0xFF;
    table.Add(1, sys, system);

    const std::vector<std::string> baseBoard = {board.Manufacturer, board.Product, board.Version,
                                                "SIM-0001"};
    const auto boardNumbers = StringNumbers(baseBoard);
    std::vector<uint8_t> base(0x0F, 0);
    std::copy(boardNumbers.begin(), boardNumbers.end(), base.begin() + 4);
    base[9] = 0x09;    // feature flags: hosting board, replaceable
    base[0x0D] = 0x0A; // board type: motherboard
    table.Add(2, base, baseBoard);

    std::vector<uint8_t> chassis(0x15, 0xFF);
    chassis[4] = 1;
    chassis[5] = 0x03; // desktop
    chassis[6] = 0;    // no version string
    chassis[7] = 2;    // serial number
    chassis[8] = 3;    // asset tag
    table.Add(3, chassis, {"Simulated Chassis", "SIM-CH-0001", "No Asset Tag"});

    std::vector<uint8_t> cpu(0x2A, 0xFF);
    cpu[4] = 1;
    cpu[5] = 3; // central processor
    table.Add(4, cpu, {"CPU 1"});

    table.Add(127, std::vector<uint8_t>(4, 0xFF), {});
    return table.Take();
}

DmiEntryPoint MakeEntryPoint(size_t tableLength, uint32_t address, uint16_t structureCount,
                             uint8_t bcdRevision) {
    DmiEntryPoint point{};
    std::memcpy(point.data(), "_DMI_", 5);
    PutLe(&point[6], static_cast<uint32_t>(std::min<size_t>(tableLength, 0xFFFF)), 2);
    PutLe(&point[8], address, 4);
    PutLe(&point[12], structureCount, 2);
    point[14] = bcdRevision;
    uint8_t sum = 0;
    for (int i = 0; i < 15; ++i)
        sum = static_cast<uint8_t>(sum + point[i]);
    point[5] = static_cast<uint8_t>(0x100 - sum);
    return point;
}

DmiEntryPoint EntryPointFromFile(std::string_view bytes, size_t tableLength) {
    DmiEntryPoint point{};
    auto copyAnchor = [&](size_t at) {
        const size_t n = std::min<size_t>(15, bytes.size() - at);
        std::memcpy(point.data(), bytes.data() + at, n);
    };
    if (bytes.substr(0, 4) == "_SM_" && bytes.size() >= 16 + 5 && bytes.substr(16, 5) == "_DMI_") {
        copyAnchor(16);
        return point;
    }
    if (bytes.substr(0, 5) == "_DMI_") {
        copyAnchor(0);
        return point;
    }
    if (bytes.substr(0, 5) == "_SM3_" && bytes.size() >= 9) {
        const uint8_t major = static_cast<uint8_t>(bytes[7]);
        const uint8_t minor = static_cast<uint8_t>(bytes[8]);
        const uint8_t bcd = static_cast<uint8_t>(((major % 10) << 4) | (minor % 10));
        return MakeEntryPoint(tableLength, 0, 0, bcd);
    }
    return MakeEntryPoint(tableLength, 0, 0, 0);
}

uint16_t CountStructures(const std::vector<uint8_t>& table) {
    uint16_t count = 0;
    size_t at = 0;
    while (at + 4 <= table.size() && count < 0xFFFF) {
        const uint8_t type = table[at];
        const size_t length = table[at + 1];
        if (length < 4 || at + length > table.size())
            break;
        size_t next = at + length;
        while (next + 1 < table.size() && !(table[next] == 0 && table[next + 1] == 0))
            ++next;
        ++count;
        if (type == 127)
            break;
        at = next + 2;
    }
    return count;
}

} // namespace hmio
