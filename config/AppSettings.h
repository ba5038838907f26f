// The user's settings, owned by the application object for the process's life
// and kept in the skin file.
#pragma once

#include <array>
#include <cstdint>

namespace sentinax {

constexpr int kLimitCount = 18;

struct AppSettings {
    int IntervalTime = 3; // seconds between evaluations
    int Celsius = 1;      // non-zero: temperatures shown in °C, else °F
    int SoundWarning = 1; // non-zero: the alarm sound plays on a warning
    std::array<int, kLimitCount> LimitPosition{}; // adjuster positions 0..100

    // Which settings changed since they were read, so that only those are saved.
    std::array<bool, kLimitCount> LimitChanged{};
    bool ScreenSettingsChanged = false;
    bool UnitSettingChanged = false;
};

} // namespace sentinax
