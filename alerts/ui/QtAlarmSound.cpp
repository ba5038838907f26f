#include "QtAlarmSound.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

#if defined(SENTINAX_HAVE_QT_MULTIMEDIA)
#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#endif

namespace sentinax {
namespace {

#if defined(SENTINAX_HAVE_QT_MULTIMEDIA)
// "RIFF", a 32-bit size, "WAVE": anything else is not worth handing over.
bool LooksLikeWave(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray head = file.read(12);
    return head.size() == 12 && head.startsWith("RIFF") && head.mid(8, 4) == "WAVE";
}
#endif

bool AnyAudioOutput() {
#if defined(SENTINAX_HAVE_QT_MULTIMEDIA)
    return !QMediaDevices::audioOutputs().isEmpty();
#else
    return false;
#endif
}

} // namespace

QtAlarmSound::QtAlarmSound(QObject* parent) : QtAlarmSound(AnyAudioOutput, parent) {}

QtAlarmSound::QtAlarmSound(std::function<bool()> hasAudioOutput, QObject* parent)
    : QObject(parent), hasAudioOutput_(std::move(hasAudioOutput)) {}

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
    if (!LooksLikeWave(path) || !hasAudioOutput_ || !hasAudioOutput_()) {
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
