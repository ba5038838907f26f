// The front-panel companion. It has no panel to drive here: it records every
// command it receives, which is what the monitor's tests and users look at.
#include "CompanionTrace.h"
#include "FrontPanelCommand.h"

#include <stdio.h>

__attribute__((visibility("default"))) void MainEntry(FrontPanelCommand* record) {
    char line[128];
    if (!record)
        snprintf(line, sizeof line, "MainEntry(null)\n");
    else
        snprintf(line, sizeof line, "MainEntry(command=%d argument=%d value=%d)\n",
                 (int)record->command, (int)record->argument, (int)record->value);
    CompanionTraceLine(line);
}
