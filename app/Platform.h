// The operating system as the main window's logic sees it: the hardware
// library, waits, the version text, the board table, window titles, the alarm
// sound, the shared sensor memory and the power-off request. One seam, so that
// tests run the whole window logic with doubles.
#pragma once

#include "hardware/BoardTable.h"

#include <string>

namespace sentinax {

struct HardwareLibrary;
class WindowFinder;
class AlarmSound;
class SharedSensorMemory;
class ExternalPrograms;

class Platform {
public:
    virtual ~Platform() = default;
    // Loads the hardware library and fills the table; false when it cannot be loaded.
    virtual bool BindLibrary(HardwareLibrary& library) = 0;
    // Blocks the calling thread (the start-up detection's waits).
    virtual void Sleep(int milliseconds) = 0;
    // The operating system's version text, which picks the driver failure message.
    virtual std::string VersionText() = 0;
    // The board table: the shipped one with the user's own rows before it.
    virtual BoardTable LoadBoardTable() = 0;
    // Top-level windows by title, for pausing while listed programs run.
    virtual WindowFinder& Windows() = 0;
    virtual AlarmSound& Sound() = 0;
    // The block other programs read the readings from.
    virtual SharedSensorMemory& SharedMemory() = 0;
    // The cooling tool, the system-information tool and the web browser.
    virtual ExternalPrograms& Programs() = 0;
    // Asks the system to turn the machine off; nothing is reported back.
    virtual void PowerOff() = 0;
    // A message for the user about something they may need to act on (one
    // line, no trailing newline); the program's own output, not the warning log.
    virtual void Report(const std::string& message) = 0;
    // The text of /proc/cpuinfo (which CPU this is, for its rated maximum);
    // empty when it cannot be read.
    virtual std::string CpuInfo() { return {}; }
};

} // namespace sentinax
