#include "DmiReader.h"

#include <cstring>
#include <vector>

namespace sentinax {

namespace {

constexpr uint8_t kBaseBoardType = 2;
constexpr size_t kNoEnd = static_cast<size_t>(-1);

// The offset just past the string set that starts at `strings` (the set ends
// with an extra zero byte; a set with no strings is two zero bytes). kNoEnd when
// the table ends first.
size_t EndOfStringSet(const uint8_t* t, size_t length, size_t strings) {
    for (size_t i = strings; i + 1 < length; ++i)
        if (t[i] == 0 && t[i + 1] == 0)
            return i + 2;
    return kNoEnd;
}

// The string starting at `at`, and the offset just past its terminating zero.
// False when `at` is the end of the set (an empty string) or the string runs
// off the end of the table.
bool TakeString(const uint8_t* t, size_t length, size_t& at, std::string* out) {
    if (at >= length || t[at] == 0)
        return false;
    const void* zero = std::memchr(t + at, 0, length - at);
    if (!zero)
        return false;
    size_t end = static_cast<const uint8_t*>(zero) - t;
    if (out)
        out->assign(reinterpret_cast<const char*>(t + at), end - at);
    at = end + 1;
    return true;
}

// String number n (1-based): skip n - 1 strings from the end of the formatted area.
bool StringNumber(const uint8_t* t, size_t length, size_t strings, uint8_t n, std::string& out) {
    size_t at = strings;
    for (uint8_t i = 1; i < n; ++i)
        if (!TakeString(t, length, at, nullptr))
            return false;
    return TakeString(t, length, at, &out);
}

} // namespace

void WalkStructureTable(const uint8_t* t, size_t length, BoardIdentity& id) {
    if (!t)
        return;
    size_t pos = 0;
    for (int n = 0; n < kMaxDmiStructures; ++n) {
        if (length < 2 || pos > length - 2)
            return;
        const uint8_t type = t[pos];
        const uint8_t formatted = t[pos + 1];
        // A formatted area shorter than the 4-byte header cannot be a structure.
        if (formatted < 4 || formatted > length - pos)
            return;
        const size_t strings = pos + formatted;
        // Every structure, base board or not, ends after its string set. The
        // search starts after the formatted area, whose own bytes may be zero.
        const size_t next = EndOfStringSet(t, length, strings);

        if (type == kBaseBoardType) {
            // String numbers of manufacturer, product, version and serial number;
            // a field beyond a short formatted area counts as unnumbered.
            auto number = [&](size_t offset) -> uint8_t {
                return offset < formatted ? t[pos + offset] : 0;
            };
            const uint8_t manufacturer = number(4), product = number(5), version = number(6),
                          serial = number(7);
            if (manufacturer || product || version || serial) {
                size_t at = strings;
                bool ok = true;
                if (manufacturer)
                    ok = TakeString(t, length, at, nullptr);
                if (ok && product) {
                    std::string text;
                    if (TakeString(t, length, at, &text))
                        id.BoardProduct = std::move(text);
                    else if (at >= length || t[at] != 0)
                        return; // cut by the end of the table
                }
                if (version) {
                    std::string text;
                    if (StringNumber(t, length, strings, version, text))
                        id.BoardVersion = std::move(text);
                    return;
                }
            }
        }
        if (next == kNoEnd)
            return;
        pos = next;
    }
}

BoardIdentity ReadBoardIdentity(const HardwareLibrary& lib, bool isNtFamily) {
    BoardIdentity id;
    if (!isNtFamily || !lib.GetDMILength || !lib.GetDMIData)
        return id;
    const uint32_t length = lib.GetDMILength(id.EntryPoint.data());
    if (length == 0 || length > kMaxDmiTableLength)
        return id;
    // Zero-filled, so a library that delivers less than it announced leaves
    // zeros, which end the walk.
    std::vector<uint8_t> buffer(length, 0);
    lib.GetDMIData(buffer.data());
    WalkStructureTable(buffer.data(), buffer.size(), id);
    return id;
}

bool BoardMatches(const std::string& boardProduct, const std::string& code) {
    return boardProduct.find(code) != std::string::npos;
}

} // namespace sentinax
