#include "InputCapabilities.h"

#include <charconv>

namespace sentinax {

namespace {

// Event types, codes and device properties of the kernel's input interface.
constexpr unsigned kEvKey = 1, kEvRel = 2, kEvAbs = 3;
constexpr unsigned kRelX = 0, kRelY = 1, kAbsX = 0, kAbsY = 1;
constexpr unsigned kBtnLeft = 0x110, kBtnTask = 0x117;
constexpr unsigned kBtnToolPen = 0x140, kBtnToolFinger = 0x145, kBtnTouch = 0x14a,
                   kBtnStylus = 0x14b;
constexpr unsigned kPropDirect = 1, kPropPointingStick = 5;
// F1-F10, F11-F12, F13-F24.
constexpr unsigned kKeyF1 = 59, kKeyF10 = 68, kKeyF11 = 87, kKeyF12 = 88, kKeyF13 = 183,
                   kKeyF24 = 194;

bool Flag(const PropertyMap& values, const char* key) {
    const auto it = values.find(key);
    return it != values.end() && it->second == "1";
}

} // namespace

InputBitmap::InputBitmap(std::string_view text) {
    std::vector<uint64_t> mostFirst;
    while (!text.empty()) {
        const auto start = text.find_first_not_of(" \t\n");
        if (start == std::string_view::npos) {
            break;
        }
        text.remove_prefix(start);
        const auto end = text.find_first_of(" \t\n");
        const std::string_view word = text.substr(0, end);
        uint64_t value = 0;
        std::from_chars(word.data(), word.data() + word.size(), value, 16);
        mostFirst.push_back(value);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end);
    }
    words_.assign(mostFirst.rbegin(), mostFirst.rend());
}

bool InputBitmap::Test(unsigned bit) const {
    // The words are the kernel's longs; this program is built for 64-bit longs.
    constexpr unsigned kBits = sizeof(long) * 8;
    const std::size_t word = bit / kBits;
    return word < words_.size() && ((words_[word] >> (bit % kBits)) & 1u) != 0;
}

int InputBitmap::Count(unsigned first, unsigned last) const {
    int count = 0;
    for (unsigned bit = first; bit <= last; ++bit) {
        count += Test(bit) ? 1 : 0;
    }
    return count;
}

InputKind ClassifyInput(const PropertyMap& udev, const InputCapabilityText& caps) {
    const InputBitmap ev(caps.Ev), key(caps.Key), rel(caps.Rel), abs(caps.Abs), props(caps.Props);
    InputKind kind;
    kind.Buttons = key.Count(kBtnLeft, kBtnTask);
    kind.FunctionKeys =
        key.Count(kKeyF1, kKeyF10) + key.Count(kKeyF11, kKeyF12) + key.Count(kKeyF13, kKeyF24);

    if (udev.count("ID_INPUT") != 0) {
        kind.Keyboard = Flag(udev, "ID_INPUT_KEYBOARD");
        if (Flag(udev, "ID_INPUT_TOUCHPAD"))
            kind.Pointing = "Touch Pad";
        else if (Flag(udev, "ID_INPUT_POINTINGSTICK"))
            kind.Pointing = "Pointing Stick";
        else if (Flag(udev, "ID_INPUT_TABLET"))
            kind.Pointing = "Tablet";
        else if (Flag(udev, "ID_INPUT_TOUCHSCREEN"))
            kind.Pointing = "Touch Screen";
        else if (Flag(udev, "ID_INPUT_MOUSE"))
            kind.Pointing = "Mouse";
        return kind;
    }

    // A full keyboard has every key from Escape to S (codes 1 to 31).
    kind.Keyboard = ev.Test(kEvKey) && key.Count(1, 31) == 31;
    const bool hasRelXY = ev.Test(kEvRel) && rel.Test(kRelX) && rel.Test(kRelY);
    const bool hasAbsXY = ev.Test(kEvAbs) && abs.Test(kAbsX) && abs.Test(kAbsY);
    const bool left = key.Test(kBtnLeft);
    if (hasAbsXY && (key.Test(kBtnToolPen) || key.Test(kBtnStylus))) {
        kind.Pointing = "Tablet";
    } else if (hasAbsXY && key.Test(kBtnToolFinger) && !props.Test(kPropDirect)) {
        kind.Pointing = "Touch Pad";
    } else if (hasAbsXY && key.Test(kBtnTouch)) {
        kind.Pointing = "Touch Screen";
    } else if (hasRelXY && left) {
        kind.Pointing = props.Test(kPropPointingStick) ? "Pointing Stick" : "Mouse";
    } else if (hasAbsXY && left) {
        kind.Pointing = "Mouse"; // absolute pointers of virtual machines
    }
    return kind;
}

} // namespace sentinax
