// The desktop's programs: started detached from the monitor, with only the
// standard descriptors, never through a shell; web addresses through the
// desktop's URL handler, else the browser's own desktop entry.
#pragma once

#include "ExternalPrograms.h"

#include <string>
#include <vector>

namespace sentinax {

class DesktopPrograms : public ExternalPrograms {
public:
    void StartCoolingTool() override;
    void StartCoolingHelper() override;
    void RunSystemInfo() override;
    void OpenWithBrowser(const std::string& address) override;
};

// Starts argv[0] (found on PATH) with these arguments in a new session, as a
// grandchild that the monitor never waits for; descriptors other than 0, 1 and
// 2 are closed in the child. False when the program was not found or could not
// be started.
bool StartDetached(const std::vector<std::string>& argv);

} // namespace sentinax
