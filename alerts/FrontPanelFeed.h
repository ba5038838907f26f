// The per-tick reading handed to the board's companion library: one of four
// items per tick, in rotation, to the front panel (MainEntry) or the panel
// display (PanoraControl). A board has at most one of the two.
//
//   FeedPosition  value              MainEntry record   PanoraControl arguments
//   1             CPU temp byte, °C  {114, 1, value}    (256, 257, value, colour)
//   2             system temp, °C    {114, 3, value}    (256, 259, value, colour)
//   3             CPU fan, rpm       {114, 0, value}    (256, 258, value, colour)
//   4             system fan, rpm    {114, 2, value}    (256, 260, value, colour)
//
// After 3 the rotation goes to 4 only while the system fan's ItemEnabled is
// on, else back to 1.
#pragma once

#include "alerts/companions/FrontPanelCommand.h"

#include <array>
#include <cstdint>

namespace sentinax {

// The four fed items, in the order of FeedPosition (1 is CpuTemp).
enum class FeedItem : int { CpuTemp = 0, SystemTemp, CpuFan, SysFan };
// "R" instead of "G" per fed item: true when this tick's evaluation found the
// item's violation counter at 3 or more. All false on a tick without evaluation.
using FeedWarnings = std::array<bool, 4>;
inline bool& Warned(FeedWarnings& warnings, FeedItem item) {
    return warnings[static_cast<int>(item)];
}

// What one tick that read the sensors hands over.
struct FeedInputs {
    uint8_t CpuTempByte = 0; // as published at offset 0 of the shared block
    int32_t SystemTemp = 0;  // RawSlot::SystemTemp
    int32_t CpuFan = 0;
    int32_t SysFan = 0;
    FeedWarnings Red{};
    bool PausedForSuspend = false;
};

class FrontPanelFeed {
public:
    // Null entry points stand for libraries that are not loaded.
    // `panoraSysFanExcluded` is the board profile's PanoraSysFanExcluded.
    FrontPanelFeed(MainEntryFn mainEntry, PanoraControlFn panoraControl, bool panoraSysFanExcluded);

    // Sends this tick's item and advances the rotation. The front panel gets
    // nothing while paused for suspend; the panel display is fed anyway, and
    // first switches the system fan's ItemEnabled on for good once the system
    // fan reads above 0 (unless the board is excluded).
    void Feed(const FeedInputs& inputs, uint8_t& sysFanItemEnabled);

    // 1..4: the item the next call sends.
    int FeedPosition() const { return position_; }

private:
    void Advance(uint8_t sysFanItemEnabled);

    MainEntryFn mainEntry_;
    PanoraControlFn panoraControl_;
    bool panoraSysFanExcluded_;
    int position_ = 1;
};

} // namespace sentinax
