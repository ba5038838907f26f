// A small GIF89a writer for the artwork: one global colour table of 256
// colours, the NETSCAPE2.0 looping extension, and one full-screen image per
// frame with its graphic control extension. Pixels are LZW-compressed here;
// the program itself only ever decodes GIFs through Qt.
#pragma once

#include <cstdint>
#include <vector>

namespace sentinax::art {

struct GifFrameOut {
    std::vector<uint8_t> Indices; // width x height palette indices, row by row
    uint16_t DelayCs = 0;         // hundredths of a second
    uint8_t Disposal = 1;         // 0 to 3
};

// palette: 256 colours as 0xRRGGBB. loop: add the looping extension
// (repeat for ever).
std::vector<uint8_t> EncodeGif(int width, int height, const std::vector<uint32_t>& palette,
                               const std::vector<GifFrameOut>& frames, bool loop);

// The LZW data of one image (code size byte excluded, sub-blocks excluded):
// variable-width codes from minCodeSize + 1 up to 12 bits, packed least
// significant bit first, a clear code first and whenever the table is full.
std::vector<uint8_t> LzwCompress(const std::vector<uint8_t>& indices, int minCodeSize);

} // namespace sentinax::art
