// Hand-built GIFs for the tests: every block written byte by byte, so a test
// can make exactly the structure (or the fault) it needs. Image data is coded
// with literal LZW codes only (a clear code before the code width would grow),
// which any GIF reader decodes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace sentinax::testing {

class GifBuilder {
public:
    using Bytes = std::vector<uint8_t>;

    // Header and logical screen; tableBits 0 means no global colour table,
    // otherwise a table of 2^tableBits entries taken from colours (0xRRGGBB,
    // padded with black).
    GifBuilder& Header(int width, int height, int tableBits, const std::vector<uint32_t>& colours,
                       const char* version = "GIF89a") {
        Text(version);
        Word(width);
        Word(height);
        bytes_.push_back(tableBits > 0 ? static_cast<uint8_t>(0x80 | 0x70 | (tableBits - 1)) : 0);
        bytes_.push_back(0); // background index
        bytes_.push_back(0); // aspect
        if (tableBits > 0)
            Table(tableBits, colours);
        return *this;
    }
    GifBuilder& Looping() {
        Raw({0x21, 0xFF, 0x0B});
        Text("NETSCAPE2.0");
        Raw({0x03, 0x01, 0x00, 0x00, 0x00});
        return *this;
    }
    GifBuilder& Comment(const std::string& text) {
        Raw({0x21, 0xFE});
        SubBlocks(Bytes(text.begin(), text.end()));
        return *this;
    }
    // transparent < 0: no transparent colour.
    GifBuilder& Control(int delay, int disposal, int transparent = -1) {
        Raw({0x21, 0xF9, 0x04});
        bytes_.push_back(static_cast<uint8_t>((disposal & 7) << 2 | (transparent >= 0 ? 1 : 0)));
        Word(delay);
        bytes_.push_back(static_cast<uint8_t>(transparent >= 0 ? transparent : 0));
        bytes_.push_back(0);
        return *this;
    }
    GifBuilder& PlainText(const std::string& text) {
        Raw({0x21, 0x01, 0x0C});
        for (int i = 0; i < 12; ++i)
            bytes_.push_back(0);
        SubBlocks(Bytes(text.begin(), text.end()));
        return *this;
    }
    // An image of palette indices (width x height of them); localTableBits > 0
    // adds a local colour table.
    GifBuilder& Image(int left, int top, int width, int height, const Bytes& indices,
                      int localTableBits = 0, const std::vector<uint32_t>& localColours = {},
                      int codeBits = 8) {
        bytes_.push_back(0x2C);
        Word(left);
        Word(top);
        Word(width);
        Word(height);
        bytes_.push_back(localTableBits > 0 ? static_cast<uint8_t>(0x80 | (localTableBits - 1))
                                            : 0);
        if (localTableBits > 0)
            Table(localTableBits, localColours);
        bytes_.push_back(static_cast<uint8_t>(codeBits));
        SubBlocks(LiteralLzw(indices, codeBits));
        return *this;
    }
    // An image of one colour index.
    GifBuilder& Fill(int left, int top, int width, int height, uint8_t index) {
        return Image(left, top, width, height,
                     Bytes(static_cast<size_t>(width) * static_cast<size_t>(height), index));
    }
    GifBuilder& Trailer() {
        bytes_.push_back(0x3B);
        return *this;
    }
    GifBuilder& Raw(const Bytes& raw) {
        bytes_.insert(bytes_.end(), raw.begin(), raw.end());
        return *this;
    }
    GifBuilder& SubBlocks(const Bytes& data) {
        for (size_t at = 0; at < data.size(); at += 255) {
            const size_t n = std::min<size_t>(255, data.size() - at);
            bytes_.push_back(static_cast<uint8_t>(n));
            bytes_.insert(bytes_.end(), data.begin() + static_cast<long>(at),
                          data.begin() + static_cast<long>(at + n));
        }
        bytes_.push_back(0);
        return *this;
    }
    size_t Size() const { return bytes_.size(); }
    const Bytes& Data() const { return bytes_; }

    static Bytes LiteralLzw(const Bytes& indices, int codeBits) {
        const int clear = 1 << codeBits;
        const int width = codeBits + 1;
        // A reader widens its codes once 2^codeBits - 1 codes followed a clear.
        const int run = clear - 2;
        Bytes out;
        uint32_t acc = 0;
        int bits = 0;
        auto put = [&](int code) {
            acc |= static_cast<uint32_t>(code) << bits;
            bits += width;
            while (bits >= 8) {
                out.push_back(static_cast<uint8_t>(acc & 0xFF));
                acc >>= 8;
                bits -= 8;
            }
        };
        for (size_t i = 0; i < indices.size(); ++i) {
            if (i % static_cast<size_t>(run) == 0)
                put(clear);
            put(indices[i]);
        }
        put(clear + 1);
        if (bits > 0)
            out.push_back(static_cast<uint8_t>(acc & 0xFF));
        return out;
    }

private:
    void Text(const char* text) {
        for (const char* c = text; *c; ++c)
            bytes_.push_back(static_cast<uint8_t>(*c));
    }
    void Word(int value) {
        bytes_.push_back(static_cast<uint8_t>(value & 0xFF));
        bytes_.push_back(static_cast<uint8_t>(value >> 8 & 0xFF));
    }
    void Table(int bits, const std::vector<uint32_t>& colours) {
        for (int i = 0; i < (1 << bits); ++i) {
            const uint32_t c = i < static_cast<int>(colours.size()) ? colours[i] : 0;
            bytes_.push_back(static_cast<uint8_t>(c >> 16));
            bytes_.push_back(static_cast<uint8_t>(c >> 8));
            bytes_.push_back(static_cast<uint8_t>(c));
        }
    }

    Bytes bytes_;
};

} // namespace sentinax::testing
