#include "WaveFile.h"

#include "hardware/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sentinax {

namespace {

uint32_t Le32(std::string_view b, std::size_t at) {
    return static_cast<uint32_t>(static_cast<uint8_t>(b[at])) |
           static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(b[at + 2])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}

uint16_t Le16(std::string_view b, std::size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1])
                                                                   << 8);
}

constexpr std::size_t kRiffHeader = 12;
constexpr std::size_t kChunkHeader = 8;
constexpr std::size_t kFmtBytes = 16;

std::string CheckFormat(const WaveFormat& f) {
    const bool known = f.Format == 1 || f.Format == 3 || f.Format == 0xFFFE;
    const bool bits = f.BitsPerSample == 8 || f.BitsPerSample == 16 || f.BitsPerSample == 24 ||
                      f.BitsPerSample == 32;
    if (!known || !bits || f.Channels < 1 || f.Channels > 8 || f.SampleRate < 1 ||
        f.SampleRate > 384000)
        return "uses a sound format that cannot be played";
    return {};
}

} // namespace

std::string CheckWaveHeader(std::string_view bytes, WaveFormat* out) {
    if (bytes.size() < kRiffHeader || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE")
        return "is not a RIFF WAVE file";
    WaveFormat format;
    bool haveFormat = false;
    // Every chunk moves the position forward by at least its header, so the
    // walk ends; 64-bit arithmetic keeps a huge size from wrapping.
    uint64_t at = kRiffHeader;
    while (at + kChunkHeader <= bytes.size()) {
        const std::string_view id = bytes.substr(static_cast<std::size_t>(at), 4);
        const uint32_t size = Le32(bytes, static_cast<std::size_t>(at) + 4);
        const uint64_t body = at + kChunkHeader;
        if (id == "fmt ") {
            if (size < kFmtBytes || body + kFmtBytes > bytes.size())
                return "has a damaged format chunk";
            const std::size_t b = static_cast<std::size_t>(body);
            format.Format = Le16(bytes, b);
            format.Channels = Le16(bytes, b + 2);
            format.SampleRate = Le32(bytes, b + 4);
            format.BitsPerSample = Le16(bytes, b + 14);
            if (std::string why = CheckFormat(format); !why.empty())
                return why;
            // Extensible files may pad samples into wider containers.
            if (format.Format != 0xFFFE &&
                Le16(bytes, b + 12) != format.Channels * (format.BitsPerSample / 8))
                return "has a damaged format chunk";
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat)
                return "has sound data before its format";
            if (size == 0)
                return "has no sound data";
            format.DataBytes = size;
            if (out)
                *out = format;
            return {};
        }
        at = body + size + (size & 1u);
    }
    return haveFormat ? "has no sound data" : "has no format chunk";
}

std::string CheckWaveFile(const std::string& path) {
    FileCheck check;
    const int fd = OpenRegularFile(path, O_RDONLY, check);
    if (fd < 0)
        return check.Why;
    struct stat st {};
    std::string why;
    if (fstat(fd, &st) != 0 || static_cast<unsigned long long>(st.st_size) > kMaxWaveFileBytes) {
        why = "is larger than " + DescribeByteCount(kMaxWaveFileBytes);
    } else {
        std::string head(kWaveHeaderWindow, '\0');
        const ssize_t n = pread(fd, head.data(), head.size(), 0);
        head.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
        why = CheckWaveHeader(head);
    }
    close(fd);
    return why;
}

} // namespace sentinax
