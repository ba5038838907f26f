#include "Suppression.h"

namespace sentinax {

bool MonitoringSuppressed(WindowFinder& finder) {
    return finder.FirstExisting(SuppressorTitles).has_value();
}

} // namespace sentinax
