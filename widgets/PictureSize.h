// The on-screen size of a still picture: its physical size (from the
// resolution stored in the file) at the screen's logical pixels per inch.
#pragma once

#include <cstdint>

namespace sentinax {

// a x b / c rounded to nearest, halves away from zero; 0 when c is 0.
int64_t RoundedMulDiv(int64_t a, int64_t b, int64_t c);

// Width or height of a picture in hundredths of a millimetre, from its pixels
// and the file's dots per metre (96 dpi when the file gives none).
int64_t PictureHimetric(int pixels, int dotsPerMetre);

// Pixels on a screen with screenDpi logical pixels per inch for a length in
// hundredths of a millimetre; at least 1 for a non-empty length, at most
// maxPixels.
int ScreenPixels(int64_t himetric, int screenDpi, int maxPixels);

} // namespace sentinax
