// Appends one line to the file named by HMIO_TRACE, if set. The whole line goes
// out in one write() on an O_APPEND descriptor, so lines from several writers
// (the monitor's hardware library and a companion) never interleave.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

void CompanionTraceLine(const char* line);

#ifdef __cplusplus
}
#endif
