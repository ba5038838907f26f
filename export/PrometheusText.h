// The readings in the Prometheus text exposition format (version 0.0.4): one
// metric per quantity with an item label, in base units (volts, degrees
// Celsius) and rpm for the fans, with HELP and TYPE lines. Numbers use a
// point whatever the locale. Items the board does not have are left out.
//
//   sentinax_voltage_volts{item="vcore"} 1.35
//   sentinax_voltage_lower_limit_volts{item="vcore"} 0.69
//   sentinax_temperature_celsius{item="cpu"} 45
//   sentinax_fan_speed_rpm{item="system"} 1850
//   sentinax_alarm{quantity="fan_speed",item="cpu"} 0
//   sentinax_chassis_intrusion 0
//   sentinax_poweroff_countdown 0
//   sentinax_last_evaluation_timestamp_seconds 1718000000
#pragma once

#include "ReadingSnapshot.h"

#include <string>

namespace sentinax {

std::string PrometheusText(const ReadingSnapshot& snapshot);

// The file node_exporter's textfile collector reads.
constexpr char kPrometheusFileName[] = "sentinax.prom";

} // namespace sentinax
