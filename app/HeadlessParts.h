// What a run without a display has in place of the desktop: no windows whose
// titles could pause monitoring, no sound to play, no programs to start.
#pragma once

#include "ExternalPrograms.h"

#include "alerts/AlarmSound.h"
#include "alerts/WindowFinder.h"

namespace sentinax {

class NoWindows final : public WindowFinder {
public:
    bool WindowExists(const std::string&) override { return false; }
};

class NoSound final : public AlarmSound {
public:
    void StartLoop(const std::string&) override {}
    void Stop() override {}
};

class NoPrograms final : public ExternalPrograms {
public:
    void StartCoolingTool() override {}
    void StartCoolingHelper() override {}
    void RunSystemInfo() override {}
    void OpenWithBrowser(const std::string&) override {}
};

} // namespace sentinax
