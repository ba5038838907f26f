// A temporary folder for a warning log, removed with the test, and the fixed
// moment the log's clock reports: 25 March 2024, 09:05:02 (a day above 12 so
// that month and day cannot be confused, single-digit fields to show the
// zero padding).
#pragma once

#include "ScratchFolder.h"

#include <ctime>
#include <string>

namespace sentinax::testing {

inline std::tm FixedTime() {
    std::tm when{};
    when.tm_year = 124;
    when.tm_mon = 2;
    when.tm_mday = 25;
    when.tm_hour = 9;
    when.tm_min = 5;
    when.tm_sec = 2;
    return when;
}

class LogFolder {
public:
    const std::string& Dir() const { return dir_; }
    std::string LogPath() const { return dir_ + "/log.dat"; }
    // The log file's bytes; empty when there is none.
    std::string Bytes() const { return sentinax::test::ReadFile(LogPath()); }

private:
    sentinax::test::ScratchFolder scratch_{"sxlog"};
    std::string dir_ = scratch_.Path().string();
};

} // namespace sentinax::testing
