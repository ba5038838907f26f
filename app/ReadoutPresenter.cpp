#include "ReadoutPresenter.h"

#include "hardware/ReadoutText.h"

namespace sentinax {

void ReadoutPresenter::ShowCpuTemperature(int32_t celsius, bool truncateFahrenheit) {
    const bool showCelsius = settings_.Celsius != 0;
    const std::string text = CpuTempText(celsius, showCelsius);
    double point = celsius;
    if (!showCelsius)
        point = truncateFahrenheit ? ToFahrenheit(celsius) : celsius * 1.8 + 32;
    view_.AppendPoint(ReadoutItem::CpuTemp, point);
    view_.SetItemText(ReadoutItem::CpuTemp, text);
    view_.SetTrayTip("CPU Temperature : " + text);
}

void ReadoutPresenter::ShowSystemTemperature(int32_t celsius) {
    const bool showCelsius = settings_.Celsius != 0;
    view_.AppendPoint(ReadoutItem::SysTemp, showCelsius ? celsius : ToFahrenheit(celsius));
    view_.SetItemText(ReadoutItem::SysTemp, SysTempText(celsius, showCelsius));
}

// A paused tick shows the last values again: nothing is read, converted,
// evaluated or recoloured.
void ReadoutPresenter::RedisplayLastShown() {
    const SensorReadings& last = sensors_.LastShown;
    ShowCpuTemperature(last.CpuTempRaw - profile_.CpuTempOffset, false);
    ShowSystemTemperature(last.SystemTemp);

    auto voltage = [&](ReadoutItem item, PresenceItem presence, int32_t mv) {
        view_.AppendPoint(item, Volts(mv));
        view_.SetItemText(item, Enabled(presence) ? VoltsText(mv) : std::string(kNotAvailable));
    };
    voltage(ReadoutItem::Vcore, PresenceItem::Vcore, last.Vcore);
    voltage(ReadoutItem::V33, PresenceItem::V33, last.V33);
    voltage(ReadoutItem::V5, PresenceItem::V5, last.V5);
    voltage(ReadoutItem::V12, PresenceItem::V12, last.V12);

    view_.AppendPoint(ReadoutItem::CpuFan, last.CpuFan);
    view_.SetItemText(ReadoutItem::CpuFan, IntText(last.CpuFan));
    view_.AppendPoint(ReadoutItem::SysFan, last.SysFan);
    view_.SetItemText(ReadoutItem::SysFan, IntText(last.SysFan));
    if (!profile_.NoPowerFan) {
        view_.AppendPoint(ReadoutItem::PowerFan, last.PowerFan);
        view_.SetItemText(ReadoutItem::PowerFan, profile_.PowerFanShownNA
                                                     ? std::string(kNotAvailable)
                                                     : IntText(last.PowerFan));
    }
}

} // namespace sentinax
