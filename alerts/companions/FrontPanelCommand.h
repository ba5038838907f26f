// The record passed by pointer to the front-panel companion's MainEntry, and
// the two companions' entry-point types. Shared by the monitor and the
// companion libraries.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct FrontPanelCommand {
    int32_t command;
    int32_t argument;
    int32_t value;
} FrontPanelCommand;

// libquendra.so: one command record per call.
typedef void (*MainEntryFn)(FrontPanelCommand* record);
// libpanora.so: group, code, value and the address of a one-character colour
// ('G' or 'R'); the address is null in the start and stop calls.
typedef void (*PanoraControlFn)(int32_t group, int32_t code, int32_t value, char* colour);

#ifdef __cplusplus
}
#endif
