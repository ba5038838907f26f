// The Qt alarm player: what it does with bad files, and that a repeated
// request keeps the loop that is already playing. An audio output is faked
// present so that effects are really made; whether anything is heard is not
// checked.
#include "alerts/ui/QtAlarmSound.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QPointer>
#include <QSoundEffect>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

#include <cstdint>

namespace sentinax {
namespace {

QByteArray WaveBytes() {
    const int samples = 2205; // 0.1 s of silence, 16-bit mono 22050 Hz
    auto le32 = [](QByteArray& b, uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            b.append(static_cast<char>((v >> (8 * i)) & 0xFF));
        }
    };
    auto le16 = [](QByteArray& b, uint16_t v) {
        b.append(static_cast<char>(v & 0xFF));
        b.append(static_cast<char>(v >> 8));
    };
    QByteArray b("RIFF");
    le32(b, 36 + samples * 2);
    b.append("WAVEfmt ");
    le32(b, 16);
    le16(b, 1);
    le16(b, 1);
    le32(b, 22050);
    le32(b, 44100);
    le16(b, 2);
    le16(b, 16);
    b.append("data");
    le32(b, samples * 2);
    b.append(QByteArray(samples * 2, '\0'));
    return b;
}

// Lets asynchronous loading finish (or fail) before the test looks again.
void Spin(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

class QtAlarmSoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        Write("SOUND.wav", WaveBytes());
        Write("other.wav", WaveBytes());
    }
    void Write(const QString& name, const QByteArray& bytes) {
        QFile f(dir_.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    std::string Path(const QString& name) const { return dir_.filePath(name).toStdString(); }
    QList<QSoundEffect*> Effects() const { return player_.findChildren<QSoundEffect*>(); }

    QTemporaryDir dir_;
    int outputQueries_ = 0;
    QtAlarmSound player_{[this] {
        ++outputQueries_;
        return true;
    }};
};

TEST_F(QtAlarmSoundTest, MissingOrForeignFilesPlayNothing) {
    Write("text.wav", "this is not a sound\n");
    Write("short.wav", "RIFF");
    Write("empty.wav", "");
    for (const char* name : {"missing.wav", "text.wav", "short.wav", "empty.wav", ""}) {
        EXPECT_NO_THROW(player_.StartLoop(Path(name))) << name;
        EXPECT_TRUE(Effects().isEmpty()) << name;
    }
    EXPECT_NO_THROW(player_.StartLoop(dir_.path().toStdString())) << "a folder";
    EXPECT_TRUE(Effects().isEmpty());
    EXPECT_NO_THROW(player_.Stop());
}

TEST_F(QtAlarmSoundTest, BrokenWaveBodyDoesNotCrash) {
    Write("broken.wav", QByteArray("RIFF\x10\0\0\0WAVEjunkjunkjunk", 24));
    player_.StartLoop(Path("broken.wav"));
    Spin(300);
    player_.StartLoop(Path("broken.wav"));
    Spin(50);
    player_.Stop();
    EXPECT_TRUE(Effects().isEmpty());
}

TEST_F(QtAlarmSoundTest, LoopsTheFileWithoutEnd) {
    player_.StartLoop(Path("SOUND.wav"));
    const auto effects = Effects();
    ASSERT_EQ(effects.size(), 1);
    EXPECT_EQ(effects[0]->loopCount(), QSoundEffect::Infinite);
    EXPECT_EQ(effects[0]->source(), QUrl::fromLocalFile(dir_.filePath("SOUND.wav")));
}

TEST_F(QtAlarmSoundTest, SameFileKeepsTheLoopOtherFileReplacesIt) {
    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir_.path()));
    player_.StartLoop("SOUND.wav"); // relative to the working directory
    ASSERT_EQ(Effects().size(), 1);
    QPointer<QSoundEffect> first = Effects()[0];
    player_.StartLoop("SOUND.wav");
    player_.StartLoop(Path("SOUND.wav"));
    QDir::setCurrent(saved);
    ASSERT_EQ(Effects().size(), 1);
    EXPECT_EQ(Effects()[0], first.data()) << "an identical loop is not restarted";
    EXPECT_EQ(outputQueries_, 1);

    player_.StartLoop(Path("other.wav"));
    ASSERT_EQ(Effects().size(), 1);
    EXPECT_TRUE(first.isNull()) << "the old sound is gone";
    EXPECT_EQ(Effects()[0]->source(), QUrl::fromLocalFile(dir_.filePath("other.wav")));

    player_.StartLoop(Path("missing.wav"));
    EXPECT_TRUE(Effects().isEmpty()) << "a failed request still replaces the loop";

    player_.StartLoop(Path("SOUND.wav"));
    player_.Stop();
    EXPECT_TRUE(Effects().isEmpty());
    player_.StartLoop(Path("SOUND.wav"));
    EXPECT_EQ(Effects().size(), 1) << "starts again after a stop";
}

TEST(QtAlarmSoundWithoutOutput, MakesNoEffect) {
    QTemporaryDir dir;
    QFile f(dir.filePath("SOUND.wav"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(WaveBytes());
    f.close();
    QtAlarmSound player([] { return false; });
    player.StartLoop(dir.filePath("SOUND.wav").toStdString());
    EXPECT_TRUE(player.findChildren<QSoundEffect*>().isEmpty());
}

} // namespace
} // namespace sentinax
