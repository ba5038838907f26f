#include "FormatWmiValue.h"

#include <charconv>
#include <cstdio>

namespace sentinax {

namespace {

std::string DecimalAndHex(int32_t value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%d (0x%X)", value, static_cast<uint32_t>(value));
    return buffer;
}

// "%10.4f" without the C library's locale: the point stays a point whatever
// LC_NUMERIC the program runs under.
std::string FixedFour(double value) {
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 4);
    std::string text = result.ec == std::errc{} ? std::string(buffer, result.ptr) : "nan";
    if (text.size() < 10) {
        text.insert(0, 10 - text.size(), ' ');
    }
    return text;
}

// A Latin-1 byte as UTF-8.
std::string Latin1Char(uint8_t byte) {
    if (byte < 0x80) {
        return std::string(1, static_cast<char>(byte));
    }
    std::string out;
    out += static_cast<char>(0xC0 | (byte >> 6));
    out += static_cast<char>(0x80 | (byte & 0x3F));
    return out;
}

bool ArrayWithoutText(uint16_t element) {
    switch (element) {
    case kWmiInt16:
    case kWmiInt32:
    case kWmiReal32:
    case kWmiReal64:
    case kWmiString:
    case kWmiObjectRef:
    case kWmiBoolean:
    case kWmiUint8:
        return true;
    default:
        return false;
    }
}

} // namespace

std::optional<std::string> FormatWmiValue(const WmiValue& value) {
    switch (value.Type) {
    case kWmiNull:
        return "<null>";
    case kWmiInt16:
        return DecimalAndHex(static_cast<int16_t>(value.Integer));
    case kWmiInt32:
        return DecimalAndHex(value.Integer);
    case kWmiReal32:
        return FixedFour(static_cast<float>(value.Real));
    case kWmiReal64:
        return FixedFour(value.Real);
    case kWmiString:
        return "\"" + value.Text + "\"";
    case kWmiBoolean:
        return value.Integer != 0 ? "TRUE" : "FALSE";
    case kWmiUint8: {
        const auto byte = static_cast<uint8_t>(value.Integer);
        if (byte < 32) {
            return DecimalAndHex(byte);
        }
        char numbers[32];
        std::snprintf(numbers, sizeof numbers, " (%d, 0x%X)", byte, byte);
        return "'" + Latin1Char(byte) + "'" + numbers;
    }
    case kWmiObjectRef:
        return std::nullopt;
    default:
        break;
    }
    if ((value.Type & kWmiArray) != 0 && ArrayWithoutText(value.Type & ~kWmiArray)) {
        return std::nullopt;
    }
    return "<conversion error>";
}

} // namespace sentinax
