// The alarm sound: one looping sound at a time. Failures are silent: a missing
// or unplayable file, or no audio output, simply plays nothing.
#pragma once

#include <string>

namespace sentinax {

// The alarm's file, relative to the working directory.
inline constexpr const char* AlarmSoundFile = "SOUND.wav";

class AlarmSound {
public:
    virtual ~AlarmSound() = default;

    // Loops `file` until Stop or until another file replaces it. Asking again
    // for the file that is already looping keeps that loop going.
    virtual void StartLoop(const std::string& file) = 0;

    // Silences any sound; nothing happens when none plays.
    virtual void Stop() = 0;
};

} // namespace sentinax
