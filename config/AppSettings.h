// The user's settings, owned by the application object for the process's life
// and kept in the skin file (section Screen and the adjuster rows).
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace sentinax {

constexpr int kLimitCount = 18;

// Everything is zero until the skin file has been read: a run without a skin
// file shows Fahrenheit, plays no alarm and has interval 0 (the caller that
// arms the sampling timer must cope with that).
struct AppSettings {
    int IntervalTime = 0; // seconds between evaluations, as stored (any number)
    int Celsius = 0;      // non-zero: temperatures shown in °C, zero: °F
    int SoundWarning = 0; // non-zero: the alarm sound plays on a warning
    // Adjuster positions, indexed by LimitItem; normally 0..100, but a stored
    // value outside that range is kept as it is and converted by the formula.
    std::array<int, kLimitCount> LimitPosition{};

    // Set when the value changed during the run, so that only those are saved.
    // SaveSettings clears them once the file holds the values.
    std::array<bool, kLimitCount> LimitChanged{}; // the user moved that adjuster
    bool ScreenSettingsChanged = false;           // Settings dialog confirmed with OK
    bool UnitSettingChanged = false;              // temperature-unit button toggled Celsius

    // Why nothing may be saved into the skin file in this run (its settings
    // could not be read and the shipped ones are in use); empty: saving is fine.
    std::string SaveRefused;
    // The skin file did not exist when it was read: the run uses the shipped
    // copy, and the save creates the file from this text with the run's
    // changes in it. Empty once the file exists.
    std::string MissingFileText;

    // The last problem a save reported: the clean-up may try the save more
    // than once (a signal, then the window's end), and one cause is said once.
    std::string SaveProblemSaid;
};

} // namespace sentinax
