// What kind of input device an inputN folder is, from udev's ID_INPUT_* values
// when udev has classified it, otherwise from the kernel's capability bitmaps
// (capabilities/ev, key, rel, abs and properties) with the same tests udev's
// input classifier makes.
#pragma once

#include "DeviceEnumerator.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sentinax {

// A sysfs capability bitmap: words of the kernel's long, written most
// significant first and separated by blanks ("120013", "1000000000007 ff9f").
class InputBitmap {
public:
    explicit InputBitmap(std::string_view text);
    bool Test(unsigned bit) const;
    // Bits set in [first, last].
    int Count(unsigned first, unsigned last) const;

private:
    std::vector<uint64_t> words_; // least significant word first
};

struct InputKind {
    bool Keyboard = false;
    // "Mouse", "Touch Pad", "Tablet", "Touch Screen", "Pointing Stick"; empty: not pointing.
    std::string Pointing;
    int Buttons = 0; // mouse buttons (left, right, middle, side, extra, ...)
    int FunctionKeys = 0;
};

struct InputCapabilityText {
    std::string Ev, Key, Rel, Abs, Props;
};

InputKind ClassifyInput(const PropertyMap& udev, const InputCapabilityText& caps);

} // namespace sentinax
