// The monitor's readings for other programs: one snapshot per evaluation,
// handed to every sink (the Prometheus file).
#include "MainController.h"

#include "alerts/ThresholdEvaluator.h"

#include <chrono>

namespace sentinax {

MainController::ItemFlags MainController::Monitored() const {
    const BoardProfile& p = profile_;
    ItemFlags monitored{};
    auto set = [&](ReadoutItem item, bool has) {
        monitored[static_cast<int>(item)] = has && !sensors_.IsLost(item);
    };
    set(ReadoutItem::Vcore, ItemEnabled(PresenceItem::Vcore));
    set(ReadoutItem::CpuTemp, sensors_.HasReading(ReadoutItem::CpuTemp));
    set(ReadoutItem::SysTemp,
        ItemEnabled(PresenceItem::SystemTemp) && sensors_.HasReading(ReadoutItem::SysTemp));
    set(ReadoutItem::V33, ItemEnabled(PresenceItem::V33));
    set(ReadoutItem::V5, ItemEnabled(PresenceItem::V5));
    set(ReadoutItem::V12, ItemEnabled(PresenceItem::V12));
    set(ReadoutItem::CpuFan, sensors_.HasReading(ReadoutItem::CpuFan) && !p.CpuFanUnmonitored &&
                                 (ItemEnabled(PresenceItem::CpuFan) ||
                                  p.SensorSource == SensorSourceKind::EmbeddedController));
    set(ReadoutItem::SysFan, ItemEnabled(PresenceItem::SysFan));
    set(ReadoutItem::PowerFan,
        !p.NoPowerFan && !p.PowerFanUnmonitored && ItemEnabled(PresenceItem::ThirdFan));
    return monitored;
}

void MainController::PublishReadings(const TickValues& v, const ItemFlags& monitored) {
    if (sinks_.empty())
        return;
    const BoardProfile& p = profile_;
    ReadingSnapshot snapshot;
    auto item = [&](ReadoutItem which, int32_t value) {
        const ItemLimits limits = LimitsOf(thresholds_, which);
        snapshot.Items[static_cast<int>(which)] = {monitored[static_cast<int>(which)], value,
                                                   limits.Lower, limits.Upper,
                                                   evaluator_.WarningActive(which)};
    };
    item(ReadoutItem::Vcore, v.Vcore);
    item(ReadoutItem::CpuTemp, v.CpuTemp);
    item(ReadoutItem::SysTemp, v.SysTemp);
    item(ReadoutItem::V33, v.V33);
    item(ReadoutItem::V5, v.V5);
    item(ReadoutItem::V12, v.V12);
    item(ReadoutItem::CpuFan, v.CpuFan);
    item(ReadoutItem::SysFan, v.SysFan);
    item(ReadoutItem::PowerFan, v.PowerFan);
    snapshot.ChassisSupported = p.ChassisSupported;
    snapshot.ChassisOpen = chassisOpen_;
    // Open from the evaluation that starts the countdown until it returns, so
    // every evaluation nested in it says so too.
    snapshot.PowerOffCountdown = protection_.Guard().CountdownOpen();
    snapshot.EvaluatedAt = std::chrono::duration_cast<std::chrono::seconds>(
                               std::chrono::system_clock::now().time_since_epoch())
                               .count();
    for (ReadingSink* sink : sinks_)
        sink->Publish(snapshot);
}

} // namespace sentinax
