// What the tick does with the window and the alarm sound once the sensors were
// read and evaluated. Recomputed on every such tick; there is no state.
#pragma once

namespace sentinax {

enum class AlarmAction {
    StopSound,   // no item is in warning: silence
    ShowAndPlay, // bring the window up and loop the alarm sound
    ShowAndStop, // bring the window up; the sound is switched off by the user
};

// anyWarningActive: one of the nine WarningActive flags is set.
// soundWarning: the SoundWarning setting, non-zero meaning sound on.
// Bringing the window up (restore, or show normally in host mode 3) is the
// caller's; so is starting or stopping the sound.
AlarmAction DecideAlarm(bool anyWarningActive, int soundWarning);

} // namespace sentinax
