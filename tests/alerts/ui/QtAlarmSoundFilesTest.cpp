// The alarm player with something other than a sound file under the name: it
// must come back at once (a FIFO would stall a plain open for ever, and with
// it every tick), play nothing, and say so once, not on every tick.
#include "alerts/ui/QtAlarmSound.h"

#include <QDir>
#include <QFile>
#include <QSoundEffect>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sstream>
#include <sys/stat.h>

namespace sentinax {
namespace {

QByteArray TinyWave() {
    QByteArray b("RIFF\x2a\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x22\x56\0\0\x44\xac\0\0\x02\0\x10\0"
                 "data\x06\0\0\0\0\0\0\0\0\0",
                 50);
    return b;
}

TEST(QtAlarmSoundFiles, AFifoIsRefusedAtOnceAndReportedOnce) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = dir.filePath("SOUND.wav").toStdString();
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    std::ostringstream messages;
    QtAlarmSound player([] { return true; }, nullptr, &messages);
    for (int tick = 0; tick < 3; ++tick)
        player.StartLoop(path);
    EXPECT_TRUE(player.findChildren<QSoundEffect*>().isEmpty());
    EXPECT_EQ(messages.str(), "the alarm sound " + path + " is a FIFO; it is not played\n");

    // Fixed by the user: it plays; broken again later: said again.
    ASSERT_EQ(::unlink(path.c_str()), 0);
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(TinyWave());
    file.close();
    player.StartLoop(path);
    EXPECT_EQ(player.findChildren<QSoundEffect*>().size(), 1);
    player.Stop();
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("not a sound");
    file.close();
    player.StartLoop(path);
    player.StartLoop(path);
    EXPECT_TRUE(player.findChildren<QSoundEffect*>().isEmpty());
    EXPECT_NE(messages.str().find(path + " is not a RIFF WAVE file; it is not played\n"),
              std::string::npos)
        << messages.str();
}

} // namespace
} // namespace sentinax
