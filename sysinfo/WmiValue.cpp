#include "WmiValue.h"

#include <cstdio>
#include <cstdlib>

namespace sentinax {

std::string CimDatetime(int year, int month, int day, int hour, int minute, int second,
                        long utcOffsetSeconds) {
    const long minutes = utcOffsetSeconds / 60;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d%02d%02d%02d%02d%02d.000000%c%03ld", year, month, day,
                  hour, minute, second, minutes < 0 ? '-' : '+', std::labs(minutes) % 1000);
    return buffer;
}

} // namespace sentinax
