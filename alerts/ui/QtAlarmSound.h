// The alarm sound through Qt Multimedia: a QSoundEffect looping without end.
//
// The monitoring tick asks for the sound again on every tick while a warning
// stands; restarting an identical loop each time would make it stutter, so a
// request for the file that is already looping leaves that loop alone. Any
// other file replaces it.
//
// Failures are silent and cheap: a missing file, a file that is not a RIFF
// WAVE file, or a machine without any audio output creates no effect at all
// (QSoundEffect would claim to play with no device behind it).
#pragma once

#include "alerts/AlarmSound.h"

#include <QObject>
#include <QString>
#include <functional>

class QSoundEffect;

namespace sentinax {

class QtAlarmSound final : public QObject, public AlarmSound {
    Q_OBJECT
public:
    // hasAudioOutput: asked before an effect is made; the default asks
    // QMediaDevices for any audio output.
    explicit QtAlarmSound(QObject* parent = nullptr);
    QtAlarmSound(std::function<bool()> hasAudioOutput, QObject* parent = nullptr);
    ~QtAlarmSound() override;

    // file: relative names are resolved against the working directory.
    void StartLoop(const std::string& file) override;
    void Stop() override;

private:
    std::function<bool()> hasAudioOutput_;
    QSoundEffect* effect_ = nullptr; // child of this object while a loop stands
    QString loopingPath_;            // absolute path of effect_'s file
};

} // namespace sentinax
