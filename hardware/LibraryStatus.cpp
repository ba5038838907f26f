#include "LibraryStatus.h"

namespace sentinax {

int FiveVoltSourceSlot(const BoardProfile& profile) {
    switch (profile.FiveVoltRule) {
    case FiveVoltRuleKind::CopySlot4:
    case FiveVoltRuleKind::Slot4Times1_5:
        return 4;
    case FiveVoltRuleKind::Slot5Times1_6:
    case FiveVoltRuleKind::Slot5Times1_5:
        return 5;
    case FiveVoltRuleKind::Slot6Times1_61:
        return 6;
    case FiveVoltRuleKind::Slot1DoubledTimes1_61:
        return 1;
    case FiveVoltRuleKind::AsRead:
    case FiveVoltRuleKind::Slot3Times1_6:
    case FiveVoltRuleKind::Slot3Times1_5:
        break;
    }
    return 3;
}

ItemStatus ItemsOfStatus(const BoardProfile& p, const HmioStatus& status) {
    // Where each item's value comes from after the board's rearrangements.
    struct Source {
        ReadoutItem Item;
        bool IsParam;
        int Index;
    };
    int cpuParam = p.CpuTempSlot;
    bool cpuFromSlot = false;
    int cpuIndex = cpuParam;
    bool sysFromParam = p.SystemTempFromChip;
    int sysIndex = p.SystemTempFromChip ? 1 : 7;
    switch (p.TempSourceRule) {
    case TempSourceRuleKind::Direct:
        break;
    case TempSourceRuleKind::SwapWithSystem:
        cpuFromSlot = true;
        cpuIndex = 7;
        sysFromParam = true;
        sysIndex = 0;
        break;
    case TempSourceRuleKind::SecondByteAsCpu:
        cpuIndex = 1;
        break;
    case TempSourceRuleKind::FromRawSlots:
        cpuFromSlot = true;
        cpuIndex = 5;
        break;
    }
    const Source sources[] = {
        {ReadoutItem::Vcore, false, 0},
        {ReadoutItem::CpuTemp, !cpuFromSlot, cpuIndex},
        {ReadoutItem::SysTemp, sysFromParam, sysIndex},
        {ReadoutItem::V33, false, p.V33Slot},
        {ReadoutItem::V5, false, FiveVoltSourceSlot(p)},
        {ReadoutItem::V12, false, p.V12Slot},
        {ReadoutItem::CpuFan, false, p.CpuFanSlot},
        {ReadoutItem::SysFan, false, p.SysFanSlot},
        {ReadoutItem::PowerFan, false, p.PowerFanSlot},
    };
    ItemStatus items;
    for (const Source& s : sources) {
        if (s.Index < 0 || s.Index >= (s.IsParam ? kChipParamCount : kRawValueCount))
            continue;
        const uint32_t bit = 1u << s.Index;
        const uint32_t item = 1u << static_cast<int>(s.Item);
        if ((s.IsParam ? status.LostParams : status.LostSlots) & bit)
            items.Lost |= item;
        if ((s.IsParam ? status.UncheckedParams : status.UncheckedSlots) & bit)
            items.Unchecked |= item;
    }
    return items;
}

} // namespace sentinax
