// The check a sound file passes before it is handed to the sound player: a
// regular file of sensible size holding a RIFF WAVE with a playable PCM
// format and sound data. The player reads the file whole and decodes it on
// its own; anything it would choke on, or block on (a FIFO), stops here.
//
// Layout checked (little-endian): "RIFF", u32 size, "WAVE", then chunks of
// id (4 bytes), u32 size, data (padded to an even length). A "fmt " chunk of
// at least 16 bytes must come before the "data" chunk: u16 format (1 integer
// PCM, 3 IEEE float, 0xFFFE extensible), u16 channels (1..8), u32 sample rate
// (1..384000), u32 byte rate, u16 block align (channels x bytes per sample),
// u16 bits per sample (8, 16, 24 or 32).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace sentinax {

struct WaveFormat {
    uint16_t Format = 0;
    uint16_t Channels = 0;
    uint32_t SampleRate = 0;
    uint16_t BitsPerSample = 0;
    uint32_t DataBytes = 0; // as the data chunk's header says (may exceed the file)
};

// The largest sound file played; the alarm is well under a megabyte.
inline constexpr std::size_t kMaxWaveFileBytes = 16 * 1024 * 1024;
// The most of a file the header check looks at: the "fmt " and "data" chunk
// headers must start within it.
inline constexpr std::size_t kWaveHeaderWindow = 64 * 1024;

// Checks the start of a file (any bytes, any length). Empty on success, with
// format filled in when given; otherwise why the bytes are not playable
// ("is not a RIFF WAVE file", "has no sound data", ...).
std::string CheckWaveHeader(std::string_view bytes, WaveFormat* format = nullptr);

// Opens path as a regular file without blocking, refuses it above
// kMaxWaveFileBytes and checks its header. Empty when it may be played.
std::string CheckWaveFile(const std::string& path);

} // namespace sentinax
