// The alarm sound through Qt Multimedia: a QSoundEffect looping without end.
//
// The monitoring tick asks for the sound again on every tick while a warning
// stands; restarting an identical loop each time would make it stutter, so a
// request for the file that is already looping leaves that loop alone. Any
// other file replaces it.
//
// Failures are cheap and never stop the caller: a missing file, one that is
// not a regular file (a FIFO would stall the player), one over the size cap,
// one that is not a playable RIFF WAVE file (WaveFile.h), or a machine
// without any audio output creates no effect at all (QSoundEffect would claim
// to play with no device behind it). A bad file is reported once, as one line
// on the message stream; a missing output is not a fault of the file and is
// not reported.
#pragma once

#include "alerts/AlarmSound.h"

#include <QObject>
#include <QString>
#include <functional>
#include <iosfwd>

class QSoundEffect;

namespace sentinax {

class QtAlarmSound final : public QObject, public AlarmSound {
    Q_OBJECT
public:
    // hasAudioOutput: asked before an effect is made; the default asks
    // QMediaDevices for any audio output. messages: where a bad file is
    // reported (null: the reporter).
    explicit QtAlarmSound(QObject* parent = nullptr, std::ostream* messages = nullptr);
    QtAlarmSound(std::function<bool()> hasAudioOutput, QObject* parent = nullptr,
                 std::ostream* messages = nullptr);
    ~QtAlarmSound() override;

    // file: relative names are resolved against the working directory.
    void StartLoop(const std::string& file) override;
    void Stop() override;

private:
    std::function<bool()> hasAudioOutput_;
    std::ostream* messages_;
    QString reportedPath_;           // the last bad file reported, so a tick does not repeat it
    QSoundEffect* effect_ = nullptr; // child of this object while a loop stands
    QString loopingPath_;            // absolute path of effect_'s file
};

} // namespace sentinax
