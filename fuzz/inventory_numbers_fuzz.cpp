// libFuzzer target for the number helpers the inventory reads sysfs and DMI
// with: decimal and hexadecimal attributes, the firmware's release date, the
// chassis type, the clamping into 32-bit values and the text of numeric
// values. Any bytes: the text helpers take them as text, the value helpers as
// numbers taken from the first bytes.
#include "sysinfo/DeviceFacts.h"
#include "sysinfo/FirmwareClasses.h"
#include "sysinfo/FormatWmiValue.h"
#include "sysinfo/SysFiles.h"
#include "sysinfo/WmiValue.h"

#include <cctype>
#include <cinttypes>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace sentinax;

namespace {

bool AllDigits(std::string_view text, bool hex) {
    if (text.empty())
        return false;
    for (unsigned char c : text)
        if (!(hex ? std::isxdigit(c) : std::isdigit(c)))
            return false;
    return true;
}

// The value of a digit string when it fits in 64 bits.
std::optional<uint64_t> Exact(std::string_view digits, unsigned base) {
    unsigned __int128 value = 0;
    for (char c : digits) {
        const unsigned d = std::isdigit(static_cast<unsigned char>(c))
                               ? static_cast<unsigned>(c - '0')
                               : static_cast<unsigned>(std::tolower(c) - 'a' + 10);
        value = value * base + d;
        if (value > UINT64_MAX)
            return std::nullopt;
    }
    return static_cast<uint64_t>(value);
}

void CheckParsers(std::string_view text) {
    const std::string_view trimmed = Trim(text);
    // Decimal: exactly the digit strings that fit, and their value.
    const auto number = ParseUnsigned(text);
    const auto exact = AllDigits(trimmed, false) ? Exact(trimmed, 10) : std::nullopt;
    if (number != exact)
        std::abort();
    if (const auto signedNumber = ParseSigned(text)) {
        if (ParseSigned(std::to_string(*signedNumber)) != signedNumber)
            std::abort();
    } else if (exact && *exact <= INT64_MAX) {
        std::abort(); // a digit string that fits must parse
    }
    // Hexadecimal, with or without 0x.
    std::string_view hexDigits = trimmed;
    if (hexDigits.size() > 2 && hexDigits[0] == '0' && (hexDigits[1] == 'x' || hexDigits[1] == 'X'))
        hexDigits.remove_prefix(2);
    const auto hex = ParseHex(text);
    if (hex != (AllDigits(hexDigits, true) ? Exact(hexDigits, 16) : std::nullopt))
        std::abort();
}

void CheckDate(std::string_view text) {
    const auto cim = DmiDateToCim(text);
    if (!cim)
        return;
    // yyyymmdd000000.000000+000 for a date the firmware wrote as MM/DD/YYYY.
    if (cim->size() != 25 || cim->substr(8) != "000000.000000+000" ||
        !AllDigits(cim->substr(0, 8), false))
        std::abort();
    const int month = std::stoi(cim->substr(4, 2));
    const int day = std::stoi(cim->substr(6, 2));
    if (month < 1 || month > 12 || day < 1 || day > 31)
        std::abort();
}

// "%d (0x%X)": both halves give the same 32-bit value.
void CheckIntegerText(const WmiValue& value, int32_t expected) {
    const auto text = FormatWmiValue(value);
    if (!text)
        std::abort();
    long long decimal = 0;
    unsigned hex = 0;
    char tail = 0;
    if (std::sscanf(text->c_str(), "%lld (0x%X%c", &decimal, &hex, &tail) != 3 || tail != ')' ||
        decimal != expected || hex != static_cast<uint32_t>(expected))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckParsers(text);
    CheckDate(text);

    uint64_t number = 0;
    std::memcpy(&number, data, std::min(size, sizeof number));
    (void)ChassisTypeName(number);
    ValueMap values;
    PutUint32(values, "N", number);
    if (values["N"].Integer != static_cast<int32_t>(number > UINT32_MAX ? UINT32_MAX : number))
        std::abort(); // held at the largest 32-bit value, never wrapped
    CheckIntegerText(WmiValue::Sint32(static_cast<int32_t>(number)), static_cast<int32_t>(number));
    CheckIntegerText(WmiValue::Sint16(static_cast<int16_t>(number)), static_cast<int16_t>(number));
    double real = 0;
    std::memcpy(&real, data, std::min(size, sizeof real));
    const auto realText = FormatWmiValue(WmiValue::Real64(real));
    if (!realText || realText->size() < 10)
        std::abort(); // at least ten characters, right-aligned
    return 0;
}
