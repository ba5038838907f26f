// A scripted sequence of values handed out one per call: after the last value
// either the last one repeats (hold) or the whole list starts again (cycle).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace hmio {

template <typename T> struct Sequence {
    std::vector<T> Values;
    bool Cycle = false;
    size_t Position = 0;

    bool Empty() const { return Values.empty(); }
    // The next value; fallback when the sequence is empty.
    T Next(const T& fallback = T()) {
        if (Values.empty())
            return fallback;
        if (Position >= Values.size())
            Position = Cycle ? 0 : Values.size() - 1;
        return Values[Position++];
    }
};

} // namespace hmio
