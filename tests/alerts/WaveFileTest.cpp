// The check a sound file passes before the player gets it.
#include "alerts/WaveFile.h"
#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace sentinax {
namespace {

namespace fs = std::filesystem;

std::string Le32(uint32_t v) {
    return {char(v & 0xFF), char(v >> 8 & 0xFF), char(v >> 16 & 0xFF), char(v >> 24 & 0xFF)};
}
std::string Le16(uint16_t v) {
    return {char(v & 0xFF), char(v >> 8)};
}
std::string Chunk(const std::string& id, const std::string& body) {
    return id + Le32(static_cast<uint32_t>(body.size())) + body +
           (body.size() % 2 ? std::string(1, '\0') : "");
}
std::string Fmt(uint16_t format, uint16_t channels, uint32_t rate, uint16_t bits,
                uint16_t align = 0) {
    if (align == 0)
        align = static_cast<uint16_t>(channels * (bits / 8));
    return Chunk("fmt ", Le16(format) + Le16(channels) + Le32(rate) + Le32(rate * align) +
                             Le16(align) + Le16(bits));
}
std::string Riff(const std::string& chunks) {
    return "RIFF" + Le32(static_cast<uint32_t>(4 + chunks.size())) + "WAVE" + chunks;
}

TEST(CheckWaveHeader, AcceptsPlayableFilesAndSaysWhatIsWrongWithOthers) {
    const std::string pcm = Fmt(1, 1, 22050, 16);
    const std::string data = Chunk("data", std::string(100, '\0'));
    const struct {
        const char* what;
        std::string bytes;
        const char* why; // empty: playable
    } cases[] = {
        {"16-bit mono", Riff(pcm + data), ""},
        {"a list chunk with an odd size before the format", Riff(Chunk("LIST", "abc") + pcm + data),
         ""},
        {"float stereo", Riff(Fmt(3, 2, 48000, 32) + data), ""},
        {"extensible, 24 bits in 32", Riff(Fmt(0xFFFE, 2, 48000, 24, 8) + data), ""},
        {"empty", "", "is not a RIFF WAVE file"},
        {"text", "this is not a sound\n", "is not a RIFF WAVE file"},
        {"AVI", "RIFF" + Le32(4) + "AVI ", "is not a RIFF WAVE file"},
        {"no chunks", Riff(""), "has no format chunk"},
        {"data before the format", Riff(data + pcm), "has sound data before its format"},
        {"no data", Riff(pcm), "has no sound data"},
        {"empty data", Riff(pcm + Chunk("data", "")), "has no sound data"},
        {"short format chunk", Riff(Chunk("fmt ", std::string(12, '\1')) + data),
         "has a damaged format chunk"},
        {"format chunk cut off by the end", Riff("fmt " + Le32(16) + "\1\0"),
         "has a damaged format chunk"},
        {"no channels", Riff(Fmt(1, 0, 22050, 16) + data),
         "uses a sound format that cannot be played"},
        {"12 bits", Riff(Fmt(1, 1, 22050, 12, 2) + data),
         "uses a sound format that cannot be played"},
        {"compressed", Riff(Fmt(2, 1, 22050, 16) + data),
         "uses a sound format that cannot be played"},
        {"block align that does not match", Riff(Fmt(1, 2, 22050, 16, 2) + data),
         "has a damaged format chunk"},
        // A chunk claiming 4 GiB must not wrap the walk back to the start.
        {"huge chunk", Riff("JUNK" + Le32(0xFFFFFFFF) + pcm + data), "has no format chunk"},
    };
    for (const auto& c : cases) {
        WaveFormat format;
        EXPECT_EQ(CheckWaveHeader(c.bytes, &format), c.why) << c.what;
        if (*c.why == '\0') {
            EXPECT_EQ(format.DataBytes, 100u) << c.what;
        }
    }
}

TEST(CheckWaveFile, OnlyRegularFilesOfSensibleSizeArePlayed) {
    const test::ScratchFolder scratch("sx-wave");
    const std::string dir = scratch.Path().string();
    ASSERT_EQ(::mkfifo((dir + "/fifo.wav").c_str(), 0600), 0);
    fs::create_directory(dir + "/folder.wav");
    fs::create_symlink("/dev/zero", dir + "/zero.wav");
    {
        // A valid header on a file over the cap (sparse: no disk used).
        std::ofstream big(dir + "/big.wav", std::ios::binary);
        big << Riff(Fmt(1, 1, 22050, 16) + Chunk("data", std::string(2, '\0')));
    }
    fs::resize_file(dir + "/big.wav", kMaxWaveFileBytes + 1);
    const struct {
        std::string path;
        const char* why;
    } cases[] = {
        {std::string(SX_DATA_DIR) + "/SOUND.wav", ""},
        {dir + "/fifo.wav", "is a FIFO"}, // without blocking on the missing writer
        {dir + "/folder.wav", "is a directory"},
        {dir + "/zero.wav", "is a character device"},
        {dir + "/big.wav", "is larger than 16 MiB"},
        {dir + "/missing.wav", "does not exist"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckWaveFile(c.path), c.why) << c.path;
}

} // namespace
} // namespace sentinax
