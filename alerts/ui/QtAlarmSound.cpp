#include "QtAlarmSound.h"

#include "alerts/WaveFile.h"
#include "hardware/Reporter.h"

#include <QFileInfo>
#include <QUrl>

#if defined(SENTINAX_HAVE_QT_MULTIMEDIA)
#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#endif

namespace sentinax {
namespace {

bool AnyAudioOutput() {
#if defined(SENTINAX_HAVE_QT_MULTIMEDIA)
    return !QMediaDevices::audioOutputs().isEmpty();
#else
    return false;
#endif
}

} // namespace

QtAlarmSound::QtAlarmSound(QObject* parent, std::ostream* messages)
    : QtAlarmSound(AnyAudioOutput, parent, messages) {}

QtAlarmSound::QtAlarmSound(std::function<bool()> hasAudioOutput, QObject* parent,
                           std::ostream* messages)
    : QObject(parent), hasAudioOutput_(std::move(hasAudioOutput)),
      messages_(messages ? messages : &ReportedLines()) {}

QtAlarmSound::~QtAlarmSound() {
    Stop();
}

void QtAlarmSound::StartLoop(const std::string& file) {
    const QString path = QFileInfo(QString::fromStdString(file)).absoluteFilePath();
    if (effect_ != nullptr && path == loopingPath_) {
        return;
    }
    Stop();
#if defined(SENTINAX_HAVE_QT_MULTIMEDIA)
    // Checked before the player sees the file: it would read a FIFO for ever.
    if (const std::string why = CheckWaveFile(path.toStdString()); !why.empty()) {
        if (path != reportedPath_) {
            *messages_ << "the alarm sound " << path.toStdString() << ' ' << why
                       << "; it is not played\n";
            reportedPath_ = path;
        }
        return;
    }
    reportedPath_.clear();
    if (!hasAudioOutput_ || !hasAudioOutput_()) {
        return;
    }
    effect_ = new QSoundEffect(this);
    effect_->setSource(QUrl::fromLocalFile(path));
    effect_->setLoopCount(QSoundEffect::Infinite);
    effect_->play();
    loopingPath_ = path;
#endif
}

void QtAlarmSound::Stop() {
#if defined(SENTINAX_HAVE_QT_MULTIMEDIA)
    if (effect_ != nullptr) {
        effect_->stop();
        delete effect_;
        effect_ = nullptr;
    }
#endif
    loopingPath_.clear();
}

} // namespace sentinax
