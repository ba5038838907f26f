#include "ProfileDecision.h"

namespace sentinax {

bool RowMatches(const BoardCondition& condition, const BoardIdentity& id,
                const BoardProfile& decided) {
    if (condition.ConditionKind == BoardCondition::Kind::Profile)
        return condition.Field && condition.Field->Get(decided) == condition.Value;
    if (!BoardMatches(id.BoardProduct, condition.Code))
        return false;
    switch (condition.VersionTest) {
    case VersionTestKind::Contains:
        return BoardMatches(id.BoardVersion, condition.VersionText);
    case VersionTestKind::Lacks:
        return !BoardMatches(id.BoardVersion, condition.VersionText);
    case VersionTestKind::None:
        break;
    }
    return true;
}

BoardProfile DecideProfile(const BoardTable& table, const BoardIdentity& id, uint32_t vendorId) {
    BoardProfile profile;
    if (vendorId == kIntelVendorId) {
        profile.CpuFanSlot = 10;
        profile.SysFanSlot = 9;
        profile.PowerFanSlot = 8;
    }
    for (std::string_view list : TraitListNames()) {
        for (const BoardRow& row : table.Rows(list, vendorId)) {
            if (!RowMatches(row.Condition, id, profile))
                continue;
            for (const BoardAssignment& a : row.Assignments)
                a.Field->Set(profile, a.Value); // validated when the table was read
            break;
        }
    }
    return profile;
}

} // namespace sentinax
