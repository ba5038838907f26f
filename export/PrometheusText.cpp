#include "PrometheusText.h"

#include <charconv>
#include <string_view>

namespace sentinax {

namespace {

enum class Quantity { Voltage, Temperature, FanSpeed };

struct ItemLabel {
    ReadoutItem Item;
    Quantity Kind;
    const char* Label;
};

// In ReadoutItem order.
constexpr ItemLabel kItems[kReadoutCount] = {
    {ReadoutItem::Vcore, Quantity::Voltage, "vcore"},
    {ReadoutItem::CpuTemp, Quantity::Temperature, "cpu"},
    {ReadoutItem::SysTemp, Quantity::Temperature, "system"},
    {ReadoutItem::V33, Quantity::Voltage, "3.3V"},
    {ReadoutItem::V5, Quantity::Voltage, "+5V"},
    {ReadoutItem::V12, Quantity::Voltage, "+12V"},
    {ReadoutItem::CpuFan, Quantity::FanSpeed, "cpu"},
    {ReadoutItem::SysFan, Quantity::FanSpeed, "system"},
    {ReadoutItem::PowerFan, Quantity::FanSpeed, "power"},
};

struct QuantityInfo {
    const char* Name;  // in the alarm's quantity label
    const char* Value; // metric names
    const char* Lower;
    const char* Upper;
    const char* What; // for the help texts
    double Divisor;   // from the monitor's unit to the metric's (mV / 1000 = V)
};

constexpr QuantityInfo kQuantities[] = {
    {"voltage", "sentinax_voltage_volts", "sentinax_voltage_lower_limit_volts",
     "sentinax_voltage_upper_limit_volts", "Voltage of the CPU core or a supply rail, in volts",
     1000.0},
    {"temperature", "sentinax_temperature_celsius", "sentinax_temperature_lower_limit_celsius",
     "sentinax_temperature_upper_limit_celsius",
     "Temperature of the CPU or the system, in degrees Celsius", 1.0},
    {"fan_speed", "sentinax_fan_speed_rpm", "sentinax_fan_speed_lower_limit_rpm",
     "sentinax_fan_speed_upper_limit_rpm", "Speed of a fan, in revolutions per minute", 1.0},
};

const QuantityInfo& Info(Quantity q) {
    return kQuantities[static_cast<int>(q)];
}

std::string Number(double value) {
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return error == std::errc() ? std::string(buffer, end) : std::string("NaN");
}

void Header(std::string& out, std::string_view name, std::string_view help) {
    out.append("# HELP ").append(name).append(" ").append(help).append("\n");
    out.append("# TYPE ").append(name).append(" gauge\n");
}

// One metric of every item of a quantity; value picks the number.
template <typename Field>
void Family(std::string& out, const ReadingSnapshot& s, Quantity q, const char* name,
            const std::string& help, Field value) {
    bool any = false;
    for (const ItemLabel& item : kItems) {
        const ItemReading& r = s.Items[static_cast<int>(item.Item)];
        if (item.Kind != q || !r.Present)
            continue;
        if (!any)
            Header(out, name, help);
        any = true;
        out.append(name).append("{item=\"").append(item.Label).append("\"} ");
        out.append(Number(value(r) / Info(q).Divisor)).append("\n");
    }
}

} // namespace

std::string PrometheusText(const ReadingSnapshot& s) {
    std::string out;
    for (Quantity q : {Quantity::Voltage, Quantity::Temperature, Quantity::FanSpeed}) {
        const QuantityInfo& info = Info(q);
        Family(out, s, q, info.Value, info.What, [](const ItemReading& r) { return r.Value; });
        Family(out, s, q, info.Lower, std::string("Lower limit set for this item"),
               [](const ItemReading& r) { return r.Lower; });
        Family(out, s, q, info.Upper, std::string("Upper limit set for this item"),
               [](const ItemReading& r) { return r.Upper; });
    }
    bool any = false;
    for (const ItemLabel& item : kItems) {
        const ItemReading& r = s.Items[static_cast<int>(item.Item)];
        if (!r.Present)
            continue;
        if (!any)
            Header(out, "sentinax_alarm",
                   "1 while the item is in warning (out of range for three evaluations or more)");
        any = true;
        out.append("sentinax_alarm{quantity=\"").append(Info(item.Kind).Name);
        out.append("\",item=\"").append(item.Label).append("\"} ");
        out.append(r.Warning ? "1\n" : "0\n");
    }
    if (s.ChassisSupported) {
        Header(out, "sentinax_chassis_intrusion", "1 when the case was found opened");
        out.append("sentinax_chassis_intrusion ").append(s.ChassisOpen ? "1\n" : "0\n");
    }
    if (s.EvaluatedAt != 0) {
        Header(out, "sentinax_poweroff_countdown",
               "1 while the over-temperature countdown to a power-off runs");
        out.append("sentinax_poweroff_countdown ").append(s.PowerOffCountdown ? "1\n" : "0\n");
        // The alert rules tell readings that stopped coming by this time.
        Header(out, "sentinax_last_evaluation_timestamp_seconds",
               "When the readings were taken, in seconds since the epoch");
        out.append("sentinax_last_evaluation_timestamp_seconds ")
            .append(std::to_string(s.EvaluatedAt))
            .append("\n");
    }
    return out;
}

} // namespace sentinax
