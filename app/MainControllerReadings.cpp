// The monitor's readings for other programs: one snapshot per evaluation,
// handed to every sink (the Prometheus file).
#include "MainController.h"

#include "alerts/ThresholdEvaluator.h"

#include <chrono>

namespace sentinax {

void MainController::PublishReadings(const TickValues& v) {
    if (sinks_.empty())
        return;
    const BoardProfile& p = profile_;
    ReadingSnapshot snapshot;
    auto item = [&](ReadoutItem which, bool present, int32_t value) {
        ItemReading& r = snapshot.Items[static_cast<int>(which)];
        const ItemLimits limits = LimitsOf(thresholds_, which);
        present = present && !sensors_.IsLost(which);
        r = {present, value, limits.Lower, limits.Upper, evaluator_.WarningActive(which)};
    };
    item(ReadoutItem::Vcore, ItemEnabled(PresenceItem::Vcore), v.Vcore);
    item(ReadoutItem::CpuTemp, sensors_.HasReading(ReadoutItem::CpuTemp), v.CpuTemp);
    item(ReadoutItem::SysTemp,
         ItemEnabled(PresenceItem::SystemTemp) && sensors_.HasReading(ReadoutItem::SysTemp),
         v.SysTemp);
    item(ReadoutItem::V33, ItemEnabled(PresenceItem::V33), v.V33);
    item(ReadoutItem::V5, ItemEnabled(PresenceItem::V5), v.V5);
    item(ReadoutItem::V12, ItemEnabled(PresenceItem::V12), v.V12);
    item(ReadoutItem::CpuFan,
         sensors_.HasReading(ReadoutItem::CpuFan) && !p.CpuFanUnmonitored &&
             (ItemEnabled(PresenceItem::CpuFan) ||
              p.SensorSource == SensorSourceKind::EmbeddedController),
         v.CpuFan);
    item(ReadoutItem::SysFan, ItemEnabled(PresenceItem::SysFan), v.SysFan);
    item(ReadoutItem::PowerFan,
         !p.NoPowerFan && !p.PowerFanUnmonitored && ItemEnabled(PresenceItem::ThirdFan),
         v.PowerFan);
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
