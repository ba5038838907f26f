#include "CpuProtection.h"

#include "hardware/ReadoutText.h"
#include "hardware/SensorDetection.h"
#include "skin/AdjusterHint.h"
#include "sysinfo/CpuInfo.h"

#include <charconv>

namespace sentinax {

namespace {

int DecimalField(const CpuPackage& cpu, const char* key) {
    const std::string text = cpu.Field(key).value_or("");
    int value = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value >= 0 ? value : -1;
}

std::string Degrees(int32_t celsius) {
    return std::to_string(celsius) + " °C";
}

std::string RatingMessage(const CpuRating& rating) {
    if (!rating.Known())
        return "no rated maximum is known for this CPU: the over-temperature power-off follows "
               "the CPU temperature limit alone";
    return "the over-temperature power-off waits for the CPU to pass " + Degrees(rating.Celsius) +
           ", its rated maximum (" + rating.What +
           "); the warning comes at the CPU temperature "
           "limit";
}

} // namespace

CpuIdentity IdentifyCpu(std::string_view cpuinfo) {
    const std::vector<CpuPackage> packages = ParseCpuInfo(cpuinfo);
    if (packages.empty())
        return {};
    const CpuPackage& first = packages.front();
    return {first.Field("vendor_id").value_or(""), DecimalField(first, "cpu family"),
            DecimalField(first, "model"), first.Name().value_or("")};
}

CpuProtection::CpuProtection(MonitorView& view, Platform& platform, const HardwareLibrary& library,
                             const BoardProfile& profile, SensorState& sensors)
    : view_(view), platform_(platform), library_(library), profile_(profile), sensors_(sensors) {}

void CpuProtection::Tell(const std::string& message) {
    platform_.Report(message);
    view_.SetFieldText(kHintField, message);
}

void CpuProtection::Start() {
    tableRating_ = RatingFromTable(IdentifyCpu(platform_.CpuInfo()));
    RefreshRating(true);
    if (sensors_.HardwareReady && !sensors_.CpuTempValid) {
        Tell("no CPU temperature: its sensor gives no reading (it may not be connected); the "
             "other readings are watched, and it is looked for again every " +
             std::to_string(kCpuTempRetryMs / 1000) + " s");
        view_.SetItemText(ReadoutItem::CpuTemp, kNotAvailable);
    }
}

void CpuProtection::RefreshRating(bool startUp) {
    const CpuRating rating = DecideCpuRating(ReadHmioStatus(library_).CpuTempCrit, tableRating_);
    const CpuRating& before = guard_.Rating();
    const bool changed = rating.Celsius != before.Celsius || rating.Source != before.Source;
    guard_.SetRating(rating);
    // Said when known at start-up and whenever it changes; an unknown one at
    // start-up leaves the protection as it always was, with nothing to say.
    if ((startUp && rating.Known()) || (!startUp && changed))
        platform_.Report(RatingMessage(rating));
}

void CpuProtection::BeforeRead(int periodMs) {
    if (sensors_.CpuTempValid || !sensors_.HardwareReady)
        return;
    sinceRetryMs_ += periodMs;
    if (sinceRetryMs_ < kCpuTempRetryMs)
        return;
    sinceRetryMs_ = 0;
    if (RetryCpuTemperature(library_, profile_, sensors_))
        Tell("the CPU temperature sensor answers now (" +
             Degrees(sensors_.Params[profile_.CpuTempSlot] - profile_.CpuTempOffset) +
             "): the CPU temperature is watched again");
}

void CpuProtection::AfterRead() {
    if (sensors_.CpuTempValid)
        return;
    sensors_.NoReading |= 1u << static_cast<int>(ReadoutItem::CpuTemp);
    sensors_.Params[profile_.CpuTempSlot] = 0;
}

bool CpuProtection::AfterEvaluation(bool reachedThree, bool warningActive, int32_t celsius) {
    // The rating only matters while the CPU is in warning; only then is the
    // library asked for its status.
    if (warningActive)
        RefreshRating(false);
    if (guard_.CallOff(celsius)) {
        Tell("the CPU is back at " + Degrees(celsius) + ", within its rated maximum of " +
             Degrees(guard_.Rating().Celsius) + ": the power-off is called off");
        view_.EndOverTemperatureDialog();
        return false;
    }
    return guard_.AfterEvaluation(reachedThree, warningActive, celsius);
}

std::string CpuProtection::LimitHintNote(int32_t limitCelsius, bool showCelsius) {
    RefreshRating(false);
    const CpuRating& rating = guard_.Rating();
    if (!rating.Known() || limitCelsius > rating.Celsius)
        return {};
    const int32_t shown = showCelsius ? rating.Celsius : ToFahrenheit(rating.Celsius);
    return ", power-off only above " + std::to_string(shown) + (showCelsius ? " 'C" : " 'F");
}

} // namespace sentinax
