// The sensors of the sysfs back end: finds the chips (through libsensors, or
// by a plain scan below a test root), places their inputs (Placement.h),
// reads the placed inputs on every call, and notices inputs and chips that
// disappear and return.
//
// Reading: an input whose value the lm-sensors configuration computes is read
// through libsensors; every other one on a descriptor kept open, with pread
// at offset 0 (sysfs makes a fresh value for each such read), and scaled by
// its rule. That keeps the configuration exact at the cost of a plain read.
//
// Chips that come and go: an input that reads an error, or whose chip folder
// is gone or was made anew (a driver reload, a resume), has no reading: its
// value is left alone and its bit set in the lost masks. The chips are then
// found again (libsensors re-read), at once and then less often while
// something stays lost; a lost input returns when its chip (by libsensors'
// name, which does not depend on hwmonN numbering) and input are there again.
#pragma once

#include "BoardWiring.h"
#include "ChannelMap.h"
#include "HwmonChips.h"
#include "Placement.h"
#include "SensorsLibrary.h"
#include "hmio.h"

#include <deque>
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

namespace hmio {

struct HwmonOptions {
    std::string Root = "/"; // ends in '/'
    ChannelMap Map;
    std::string MapName = "hwmon-channels.map";
    BoardWiring Wiring;
    // libsensors is used for the real /sys only: it cannot read a test root.
    bool UseLibsensors = true;
    SensorsConfigPaths Config;
    // Messages found before the engine ran (wiring file errors), said first.
    std::vector<std::string> EarlyNotices;
    // Chip folder checks closer together than this count as one (the monitor
    // reads the bytes and the slots right after each other); tests use 0.
    int64_t CheckIntervalNs = 50'000'000;
};

class HwmonEngine {
public:
    explicit HwmonEngine(HwmonOptions options);
    ~HwmonEngine();
    HwmonEngine(const HwmonEngine&) = delete;
    HwmonEngine& operator=(const HwmonEngine&) = delete;

    // Finds and places the chips (once; Close forgets them).
    void Open();
    void Close();
    bool AnyPlaced();
    // The chips as last found (by Open, or by a rescan since).
    const std::vector<SensorChip>& Chips() const { return chips_; }

    // Writes the placed ChipParams bytes that read (clamped to 0..255); true
    // when the CPU temperature (byte 0) read.
    bool ReadParams(uint8_t* params);
    // Writes the placed RawValues slots that read; returns them as a mask.
    uint32_t ReadSlots(int32_t* raw);

    // Finds the chips again (after a resume).
    void Rescan();

    void GetStatus(HmioStatus& status);
    std::string Report();
    std::string NextNotice();

private:
    struct Channel {
        bool IsParam = false;
        int Index = 0;
        Assignment Placed; // as placed at start-up; Chip/Input index the first scan
        std::string ChipName;
        std::string Stem;
        InputKind Kind = InputKind::Voltage;
        std::string Folder; // the chip folder now in use
        std::string Entry;  // the folder without its final '/', as the check looks at it
        ino_t FolderInode = 0;
        int64_t FolderChange = 0; // ctime in ns
        bool OnSysfs = false;     // read errors alone tell that the chip went away
        int Fd = -1;
        int Handle = -1;
        int Number = -1;
        bool Lost = false;
        std::string Why; // why it has no reading
    };

    std::vector<SensorChip> Scan();
    void ReadFirstValues(std::vector<SensorChip>& chips);
    void Place();
    // Points a channel at its chip and input in chips; false when not there.
    bool Resolve(Channel& channel, const std::vector<SensorChip>& chips);
    void CloseChannel(Channel& channel);
    std::optional<int64_t> ReadChannel(Channel& channel);
    // Looks after vanished chips before a read; may rescan.
    void CheckChips();
    void Refind(bool force);
    // Says once which values were lost or came back since wasLost.
    void NoteChanges(uint64_t wasLost);
    uint64_t LostFlags() const; // bit i: channel i has no reading
    std::string ChannelTitle(const Channel& channel) const;

    HwmonOptions options_;
    std::unique_ptr<SensorsLibrary> sensors_;
    bool open_ = false;
    std::vector<SensorChip> chips_; // as found at placement (with first values)
    Placement placement_;
    std::vector<Channel> channels_;
    std::deque<std::string> notices_;
    uint32_t generation_ = 1;
    int failedReads_ = 0;      // consecutive checks with something lost
    int64_t lastCheckNs_ = -1; // monotonic time of the last chip check
    bool rescanWanted_ = false;
    uint32_t hostVendor_ = 0;
};

} // namespace hmio
