#include "PictureSize.h"

#include <algorithm>

namespace sentinax {

namespace {
constexpr int64_t kHimetricPerMetre = 100000;
constexpr int64_t kHimetricPerInch = 2540;
constexpr int kDefaultDotsPerMetre = 3780; // 96 dots per inch
} // namespace

int64_t RoundedMulDiv(int64_t a, int64_t b, int64_t c) {
    if (c == 0)
        return 0;
    const int64_t product = a * b;
    const bool negative = (product < 0) != (c < 0);
    const int64_t magnitude = product < 0 ? -product : product;
    const int64_t divisor = c < 0 ? -c : c;
    const int64_t rounded = (magnitude + divisor / 2) / divisor;
    return negative ? -rounded : rounded;
}

int64_t PictureHimetric(int pixels, int dotsPerMetre) {
    if (dotsPerMetre <= 0)
        dotsPerMetre = kDefaultDotsPerMetre;
    if (pixels <= 0)
        return 0;
    return std::max<int64_t>(1, RoundedMulDiv(pixels, kHimetricPerMetre, dotsPerMetre));
}

int ScreenPixels(int64_t himetric, int screenDpi, int maxPixels) {
    if (himetric <= 0)
        return 0;
    const int64_t pixels = RoundedMulDiv(himetric, screenDpi, kHimetricPerInch);
    return static_cast<int>(std::clamp<int64_t>(pixels, 1, maxPixels));
}

} // namespace sentinax
