// The text field's marquee, apart from the widget. Texts are counted in
// characters (code points).
#pragma once

#include <string>

namespace sentinax {

// Milliseconds between two steps of a scrolling text.
constexpr int kMarqueeStepMs = 150;
// Put between the end of a scrolling text and its next repetition.
constexpr char32_t kMarqueeSeparator[] = U" ** ";

// How many characters fit: twice the client width over the width of one "W"
// of the widget's own (default) font, integer division. A zero or negative
// "W" width gives no limit.
int MarqueeCapacity(int clientWidth, int widthOfW);

// A text scrolls when it holds more characters than fit.
inline bool MarqueeScrolls(int capacity, std::size_t length) {
    return capacity >= 0 && static_cast<std::size_t>(capacity) < length;
}

// One step: the offset runs from 0 to the text's length inclusive, then
// starts again at 0.
int NextMarqueeOffset(int offset, std::size_t length);

struct MarqueeLine {
    std::u32string Text;
    bool Centred = false; // centred horizontally; otherwise left-aligned
};

// What is drawn: a text that fits is centred as it is. A scrolling one loses
// its first offset characters and is followed by the separator and the text
// again until the line holds at least capacity characters.
MarqueeLine ComposeMarquee(const std::u32string& text, int offset, int capacity);

} // namespace sentinax
