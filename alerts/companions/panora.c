// The panel-display companion. Like the front-panel one it only records the
// calls it receives. The colour is a single character; a null address (start
// and stop calls) is written as 0.
#include "CompanionTrace.h"
#include "FrontPanelCommand.h"

#include <stdio.h>

__attribute__((visibility("default"))) void PanoraControl(int32_t group, int32_t code,
                                                          int32_t value, char* colour) {
    char line[128];
    if (!colour)
        snprintf(line, sizeof line, "PanoraControl(%d, %d, %d, 0)\n", (int)group, (int)code,
                 (int)value);
    else
        snprintf(line, sizeof line, "PanoraControl(%d, %d, %d, %c)\n", (int)group, (int)code,
                 (int)value, *colour ? *colour : '?');
    CompanionTraceLine(line);
}
