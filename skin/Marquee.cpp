#include "Marquee.h"

#include <climits>

namespace sentinax {

int MarqueeCapacity(int clientWidth, int widthOfW) {
    if (widthOfW <= 0)
        return INT_MAX;
    if (clientWidth <= 0)
        return 0;
    return static_cast<int>((2LL * clientWidth) / widthOfW);
}

int NextMarqueeOffset(int offset, std::size_t length) {
    const long long next = static_cast<long long>(offset) + 1;
    if (next < 0 || static_cast<unsigned long long>(next) > length)
        return 0;
    return static_cast<int>(next);
}

MarqueeLine ComposeMarquee(const std::u32string& text, int offset, int capacity) {
    if (!MarqueeScrolls(capacity, text.size()))
        return {text, true};
    const std::size_t skip = offset <= 0 ? 0 : static_cast<std::size_t>(offset);
    MarqueeLine line{skip < text.size() ? text.substr(skip) : std::u32string(), false};
    // A non-empty text is longer than capacity, so one repetition is always
    // enough; the loop still ends for any capacity.
    while (line.Text.size() < static_cast<std::size_t>(capacity)) {
        line.Text += kMarqueeSeparator;
        line.Text += text;
    }
    return line;
}

} // namespace sentinax
