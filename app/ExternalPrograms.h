// Other programs the window's commands hand work to. Nothing here reports a
// failure: a missing program simply does nothing.
#pragma once

#include <string>

namespace sentinax {

class ExternalPrograms {
public:
    virtual ~ExternalPrograms() = default;
    // The cooling tool, and its helper that the clean-up starts after it.
    virtual void StartCoolingTool() = 0;
    virtual void StartCoolingHelper() = 0;
    // The first system-information tool found.
    virtual void RunSystemInfo() = 0;
    // Opens a web address in the user's browser.
    virtual void OpenWithBrowser(const std::string& address) = 0;
};

} // namespace sentinax
