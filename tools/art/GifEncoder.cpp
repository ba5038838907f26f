#include "GifEncoder.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace sentinax::art {

namespace {

constexpr int kMaxCodeBits = 12;
constexpr int kMaxCodes = 1 << kMaxCodeBits;

class BitWriter {
public:
    void Write(int code, int width) {
        accumulator_ |= static_cast<uint32_t>(code) << bits_;
        bits_ += width;
        while (bits_ >= 8) {
            bytes_.push_back(static_cast<uint8_t>(accumulator_ & 0xFF));
            accumulator_ >>= 8;
            bits_ -= 8;
        }
    }
    std::vector<uint8_t> Finish() {
        if (bits_ > 0)
            bytes_.push_back(static_cast<uint8_t>(accumulator_ & 0xFF));
        bits_ = 0;
        accumulator_ = 0;
        return std::move(bytes_);
    }

private:
    std::vector<uint8_t> bytes_;
    uint32_t accumulator_ = 0;
    int bits_ = 0;
};

void PutText(std::vector<uint8_t>& out, std::string_view text) {
    for (const char c : text)
        out.push_back(static_cast<uint8_t>(c));
}

void PutWord(std::vector<uint8_t>& out, int value) {
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>(value >> 8 & 0xFF));
}

void PutSubBlocks(std::vector<uint8_t>& out, const std::vector<uint8_t>& data) {
    for (size_t at = 0; at < data.size(); at += 255) {
        const size_t length = std::min<size_t>(255, data.size() - at);
        out.push_back(static_cast<uint8_t>(length));
        out.insert(out.end(), data.begin() + static_cast<long>(at),
                   data.begin() + static_cast<long>(at + length));
    }
    out.push_back(0);
}

} // namespace

std::vector<uint8_t> LzwCompress(const std::vector<uint8_t>& indices, int minCodeSize) {
    const int clear = 1 << minCodeSize;
    const int end = clear + 1;
    BitWriter out;
    std::unordered_map<uint32_t, int> table;
    int width = minCodeSize + 1;
    int next = end + 1;
    out.Write(clear, width);
    if (indices.empty()) {
        out.Write(end, width);
        return out.Finish();
    }
    int prefix = indices[0];
    for (size_t i = 1; i < indices.size(); ++i) {
        const int symbol = indices[i];
        const uint32_t key = static_cast<uint32_t>(prefix) << 8 | static_cast<uint32_t>(symbol);
        const auto found = table.find(key);
        if (found != table.end()) {
            prefix = found->second;
            continue;
        }
        out.Write(prefix, width);
        if (next < kMaxCodes) {
            // The reader adds this entry one code later, and widens its codes
            // once the entry count passes the current width.
            table.emplace(key, next++);
            if (next > (1 << width) && width < kMaxCodeBits)
                ++width;
        } else {
            out.Write(clear, width);
            table.clear();
            width = minCodeSize + 1;
            next = end + 1;
        }
        prefix = symbol;
    }
    out.Write(prefix, width);
    out.Write(end, width);
    return out.Finish();
}

std::vector<uint8_t> EncodeGif(int width, int height, const std::vector<uint32_t>& palette,
                               const std::vector<GifFrameOut>& frames, bool loop) {
    constexpr int kTableBits = 8; // 256 entries
    std::vector<uint8_t> out;
    PutText(out, "GIF89a");
    PutWord(out, width);
    PutWord(out, height);
    // Global table present, 8 bits per primary, 2^(7+1) entries.
    out.push_back(0x80 | (kTableBits - 1) << 4 | (kTableBits - 1));
    out.push_back(0); // background colour index
    out.push_back(0); // no aspect ratio
    for (int i = 0; i < (1 << kTableBits); ++i) {
        const uint32_t rgb = i < static_cast<int>(palette.size()) ? palette[i] : 0;
        out.push_back(static_cast<uint8_t>(rgb >> 16 & 0xFF));
        out.push_back(static_cast<uint8_t>(rgb >> 8 & 0xFF));
        out.push_back(static_cast<uint8_t>(rgb & 0xFF));
    }
    if (loop) {
        out.insert(out.end(), {0x21, 0xFF, 0x0B});
        PutText(out, "NETSCAPE2.0");
        out.insert(out.end(), {0x03, 0x01, 0x00, 0x00, 0x00}); // loop count 0: for ever
    }
    for (const GifFrameOut& frame : frames) {
        out.insert(out.end(), {0x21, 0xF9, 0x04});
        out.push_back(static_cast<uint8_t>((frame.Disposal & 0x07) << 2));
        PutWord(out, frame.DelayCs);
        out.push_back(0); // transparent index (unused)
        out.push_back(0);
        out.push_back(0x2C);
        PutWord(out, 0);
        PutWord(out, 0);
        PutWord(out, width);
        PutWord(out, height);
        out.push_back(0); // no local table, not interlaced
        out.push_back(kTableBits);
        PutSubBlocks(out, LzwCompress(frame.Indices, kTableBits));
    }
    out.push_back(0x3B);
    return out;
}

} // namespace sentinax::art
