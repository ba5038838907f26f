#include "ClearIntrusion.h"

#include "hardware/HardwareLibrary.h"

namespace sentinax {

int ClearIntrusion(const HardwareLibrary& library, Reporter& report) {
    const bool loaded = library.LoadNTHMIO() != 0;
    // Only the low byte counts, as for the monitor's own poll.
    const bool wasSet = (library.ChassisIntrusion() & 0xFF) != 0;
    library.ChassisClear();
    const bool stillSet = (library.ChassisIntrusion() & 0xFF) != 0;
    for (std::string notice = NextHmioNotice(library); !notice.empty();
         notice = NextHmioNotice(library))
        report.Report(MessagePriority::Info, notice);
    if (loaded)
        library.UnloadNTHMIO();
    if (stillSet) {
        report.Report(MessagePriority::Error,
                      "the chassis-intrusion latch is still set after the reset: the hardware "
                      "library could not clear it (writing the latch needs root)");
        return 1;
    }
    report.Report(MessagePriority::Notice,
                  wasSet ? "the chassis-intrusion latch was set: it is cleared now"
                         : "the chassis-intrusion latch was not set (it is reset all the same)");
    return 0;
}

} // namespace sentinax
