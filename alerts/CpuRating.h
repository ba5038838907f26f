// The CPU's own rated maximum temperature, which the over-temperature power-off
// waits for: a healthy CPU under full load may sit at its limit for hours
// (AMD Ryzen 7000 parts are built to run at 95 °C), so a power-off at or below
// it would turn off a machine that is working as designed.
//
// Where the rating comes from, first that applies:
//  1. the kernel's critical limit of the CPU temperature sensor (temp*_crit,
//     which coretemp fills with the CPU's TjMax), when it lies in 50..150 °C;
//     absent, zero, negative or absurd values are not a rating;
//  2. the table below by CPU vendor, family and model name (/proc/cpuinfo);
//  3. none: the power-off then follows the user's CPU temperature limit alone.
//
// The table (whole °C; the rating applies to the die temperature, which the
// hardware library reads as Tdie on the AMD parts whose Tctl carries an offset):
//
//   CPU                                      rating  source (by kind)
//   Intel (GenuineIntel) without a crit        100   the usual TjMax of Intel desktop
//                                                    parts; coretemp's own default
//   AMD Ryzen 7 2700X                           85   the Tj,max fused into the part,
//                                                    as CPU diagnostic tools read it
//   AMD Ryzen 9 5950X, 5900X, Ryzen 7 5800X     90   AMD's technical marketing on Zen 3
//                                                    loads: up to 90 °C for these,
//                                                    95 °C for the 5600X, by design
//   AMD Ryzen 1000, 2000 desktop (17h)          95   AMD product pages: Max. Operating
//                                                    Temperature (Tjmax)
//   AMD Ryzen 3000, 4000 desktop (17h, Zen 2)   95   AMD product pages: Max. Operating
//                                                    Temperature (Tjmax)
//   AMD Ryzen 5000 desktop, the rest (19h)      95   AMD product pages (5600X, G parts);
//                                                    the series' highest for the rest
//   AMD Ryzen 7000, 8000 desktop (19h, Zen 4)   95   AMD's statement on Ryzen 7000
//                                                    temperatures: TjMax 95 °C for the
//                                                    series, 24/7 by design
//   AMD Ryzen 9000 desktop (1Ah, Zen 5)         95   AMD product pages: Max. Operating
//                                                    Temperature (Tjmax)
//
// A desktop part is a Ryzen with a four-digit model number and no mobile
// suffix (U, H, HS, HX, ...). Mobile parts, Threadripper, EPYC and other
// vendors are not in the table: their published ratings vary by model and were
// not checked, so they get no rating unless the kernel gives a crit. Where a
// series spans several ratings, parts not listed get the highest of them, so
// that no CPU is ever powered off within its own rating.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sentinax {

// Which CPU this is, as /proc/cpuinfo names its first processor.
struct CpuIdentity {
    std::string Vendor;    // "AuthenticAMD", "GenuineIntel"; empty when unknown
    int Family = -1;       // decimal "cpu family"; -1 when unknown
    int Model = -1;        // decimal "model"; -1 when unknown
    std::string ModelName; // "AMD Ryzen 9 7950X 16-Core Processor"
};

enum class RatingSource { None, SensorCrit, Table };

struct CpuRating {
    int32_t Celsius = 0; // 0: no rating known
    RatingSource Source = RatingSource::None;
    std::string What; // what the rating is taken from, for messages

    bool Known() const { return Celsius > 0; }
};

// A kernel critical limit counts as a rating only within these bounds.
inline constexpr int32_t kLowestPlausibleCrit = 50;
inline constexpr int32_t kHighestPlausibleCrit = 150;

// The table's rating for this CPU; unknown (Celsius 0) when no row applies.
CpuRating RatingFromTable(const CpuIdentity& cpu);

// The rating in force: the sensor's critical limit (whole °C, 0 when absent)
// when it is plausible, else the table's.
CpuRating DecideCpuRating(int32_t sensorCrit, const CpuRating& fromTable);

} // namespace sentinax
