// One shared colour table for the frames of an animated GIF: a median cut over
// the colours of every frame, and the mapping of each pixel to its nearest
// entry.
#pragma once

#include <QImage>
#include <cstdint>
#include <vector>

namespace sentinax::art {

// At most `colours` entries as 0xRRGGBB, chosen from all pixels of all frames
// (alpha ignored).
std::vector<uint32_t> MedianCutPalette(const std::vector<QImage>& frames, int colours);

// The palette index of every pixel of image, row by row.
std::vector<uint8_t> MapToPalette(const QImage& image, const std::vector<uint32_t>& palette);

} // namespace sentinax::art
