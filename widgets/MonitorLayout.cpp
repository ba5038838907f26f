#include "MonitorLayout.h"

namespace sentinax {

namespace {

// Indexed by ReadoutItem.
const std::array<ItemPlacement, kReadoutCount> kPlacements = {{
    {1005, {116, 258, 50, 20}, 1004, {97, 184, 87, 70}, 1.2, 2.5, 1, "Vcore"},
    {1015, {191, 132, 50, 20}, 1014, {172, 54, 87, 73}, 0, 80, 0, "CPU TEMP."},
    {1001, {337, 132, 50, 20}, 1006, {317, 54, 87, 73}, 0, 80, 0, "SYS TEMP."},
    {1009, {229, 258, 50, 20}, 1008, {212, 184, 87, 70}, 2.5, 4.5, 1, "3.3 V"},
    {1011, {346, 258, 50, 20}, 1010, {328, 184, 87, 70}, 4.5, 5.5, 1, "+5 V"},
    {1013, {460, 258, 60, 20}, 1012, {443, 184, 87, 70}, 10.0, 13.0, 1, "+12 V"},
    {1017, {230, 384, 50, 20}, 1016, {212, 310, 88, 73}, 0, 9900, 0, ""},
    {1019, {348, 384, 50, 20}, 1018, {328, 310, 88, 73}, 0, 9900, 0, ""},
    {1021, {465, 384, 50, 20}, 1020, {445, 310, 88, 73}, 0, 9900, 0, ""},
}};

} // namespace

const ItemPlacement& MonitorLayout::Placement(ReadoutItem item) {
    return kPlacements[static_cast<size_t>(item)];
}

GraphRange MonitorLayout::TemperatureRange(bool celsius) {
    return celsius ? GraphRange{0, 80} : GraphRange{32, 176};
}

const std::array<ReadoutItem, kReadoutCount>& MonitorLayout::GraphOrder() {
    static const std::array<ReadoutItem, kReadoutCount> order = {
        ReadoutItem::Vcore,  ReadoutItem::V33,     ReadoutItem::V5,
        ReadoutItem::V12,    ReadoutItem::CpuTemp, ReadoutItem::SysTemp,
        ReadoutItem::CpuFan, ReadoutItem::SysFan,  ReadoutItem::PowerFan};
    return order;
}

int MonitorLayout::FanIndex(ReadoutItem item) {
    switch (item) {
    case ReadoutItem::CpuFan:
        return 0;
    case ReadoutItem::SysFan:
        return 1;
    case ReadoutItem::PowerFan:
        return 2;
    default:
        return -1;
    }
}

} // namespace sentinax
