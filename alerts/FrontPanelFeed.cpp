#include "FrontPanelFeed.h"

namespace sentinax {

namespace {

constexpr int32_t kFrontPanelReading = 114;
constexpr int32_t kPanelDisplayGroup = 256;

struct FeedCodes {
    int32_t MainEntryArgument;
    int32_t PanoraCode;
};

// Indexed by FeedPosition - 1; also the index into FeedInputs::Red.
constexpr FeedCodes kItems[4] = {{1, 257}, {3, 259}, {0, 258}, {2, 260}};

int32_t ValueAt(const FeedInputs& in, int position) {
    switch (position) {
    case 1:
        return in.CpuTempByte;
    case 2:
        return in.SystemTemp;
    case 3:
        return in.CpuFan;
    default:
        return in.SysFan;
    }
}

} // namespace

FrontPanelFeed::FrontPanelFeed(MainEntryFn mainEntry, PanoraControlFn panoraControl,
                               bool panoraSysFanExcluded)
    : mainEntry_(mainEntry), panoraControl_(panoraControl),
      panoraSysFanExcluded_(panoraSysFanExcluded) {}

void FrontPanelFeed::Feed(const FeedInputs& inputs, uint8_t& sysFanItemEnabled) {
    if (mainEntry_ && !inputs.PausedForSuspend) {
        const FeedCodes& item = kItems[position_ - 1];
        // A fresh record per call: the library gets a writable address and
        // whatever it does to it stays in this call.
        FrontPanelCommand record{kFrontPanelReading, item.MainEntryArgument,
                                 ValueAt(inputs, position_)};
        mainEntry_(&record);
        Advance(sysFanItemEnabled);
    }
    if (panoraControl_) {
        if (inputs.SysFan > 0 && !panoraSysFanExcluded_)
            sysFanItemEnabled = 1;
        const FeedCodes& item = kItems[position_ - 1];
        // The colour is passed as a writable, terminated one-character string,
        // fresh per call, so the library can neither alter a constant of ours
        // nor read past it.
        char colour[2] = {inputs.Red[position_ - 1] ? 'R' : 'G', '\0'};
        panoraControl_(kPanelDisplayGroup, item.PanoraCode, ValueAt(inputs, position_), colour);
        Advance(sysFanItemEnabled);
    }
}

void FrontPanelFeed::Advance(uint8_t sysFanItemEnabled) {
    switch (position_) {
    case 3:
        position_ = sysFanItemEnabled ? 4 : 1;
        break;
    case 4:
        position_ = 1;
        break;
    default:
        ++position_;
        break;
    }
}

} // namespace sentinax
