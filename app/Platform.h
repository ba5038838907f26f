// The few things of the operating system that the window's start-up needs,
// behind one seam so that tests run them with doubles.
#pragma once

#include "hardware/BoardTable.h"

#include <string>

namespace sentinax {

struct HardwareLibrary;

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
};

// The real thing: libhmio.so, a thread sleep, and the kernel release.
class SystemPlatform : public Platform {
public:
    bool BindLibrary(HardwareLibrary& library) override;
    void Sleep(int milliseconds) override;
    std::string VersionText() override;
    BoardTable LoadBoardTable() override;
};

} // namespace sentinax
