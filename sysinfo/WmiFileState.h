// The two flags that make WMIinfo.txt a once-per-run file. The application
// object owns one of these for the whole process and hands it to every
// inventory dialog it opens.
#pragma once

namespace sentinax {

struct WmiFileState {
    // 0 until the first fill of the dialog in this run has ended (with or
    // without a source); records are written only while it is 0.
    int wmiFileDone = 0;
    // 1 until the first heading record has been written; that record starts
    // the file afresh, every later record is appended.
    int firstHeadingPending = 1;
};

} // namespace sentinax
