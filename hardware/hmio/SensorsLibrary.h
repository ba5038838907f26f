// libsensors, the one place that includes <sensors/sensors.h>.
//
// It lists the chips and their voltage, fan and temperature inputs with their
// labels (the user's `label` applies, `ignore`d inputs are left out) and reads
// values (the user's `compute` applies). The configuration is the usual one:
// /etc/sensors3.conf (else /etc/sensors.conf) and the files of
// /etc/sensors.d/ in name order. libsensors refuses a whole configuration for
// one syntax error, so every file is tried alone first: a broken file is
// reported once ("file:line: error") and left out, the others still count.
//
// libsensors keeps process-wide state: there is at most one SensorsLibrary.
// Its error handlers are our own: parse errors are collected, and a fatal
// error (libsensors' default would end the process) marks the library
// unusable for the rest of the run.
#pragma once

#include "HwmonChips.h"

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace hmio {

struct SensorsConfigPaths {
    std::string MainFile = "/etc/sensors3.conf";
    std::string OldMainFile = "/etc/sensors.conf"; // read when MainFile does not exist
    std::string Folder = "/etc/sensors.d";
};

class SensorsLibrary {
public:
    explicit SensorsLibrary(SensorsConfigPaths paths = {});
    ~SensorsLibrary();
    SensorsLibrary(const SensorsLibrary&) = delete;
    SensorsLibrary& operator=(const SensorsLibrary&) = delete;

    // (Re)reads the configuration and the chips. Messages for the user (a
    // broken configuration file, once per file and content; libsensors not
    // usable) are appended to messages. False when libsensors cannot be used:
    // the caller then scans sysfs itself.
    bool Init(std::vector<std::string>& messages);

    // The chips libsensors found, with Handle, labels and subfeature numbers.
    std::vector<SensorChip> Chips();

    // The value of a subfeature as libsensors computes it (V, °C, rpm);
    // nothing when it cannot be read.
    std::optional<double> Value(int handle, int number);

    // The configuration files in use, in the order they were read.
    const std::vector<std::string>& ConfigFiles() const { return usedFiles_; }
    // Files left out for a syntax error, as "file:line: error".
    const std::vector<std::string>& BrokenFiles() const { return brokenFiles_; }
    bool Usable() const { return initialised_ && !broken_; }

private:
    void Cleanup();

    SensorsConfigPaths paths_;
    bool initialised_ = false;
    bool broken_ = false;
    std::vector<const void*> chips_; // libsensors' chip names, valid until Cleanup
    std::vector<std::string> usedFiles_;
    std::vector<std::string> brokenFiles_;
    std::set<std::string> reported_; // messages already given
};

} // namespace hmio
