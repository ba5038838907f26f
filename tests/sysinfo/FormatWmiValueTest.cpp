#include "sysinfo/FormatWmiValue.h"

#include <clocale>
#include <gtest/gtest.h>

namespace sentinax {
namespace {

WmiValue Typed(uint16_t type, int32_t integer = 0, double real = 0.0, std::string text = {}) {
    return WmiValue{type, integer, real, std::move(text)};
}

struct Case {
    const char* Why;
    WmiValue Value;
    std::optional<std::string> Text;
};

TEST(FormatWmiValue, EveryTypeCode) {
    const Case cases[] = {
        {"null is spelled so that the line is dropped", WmiValue::Null(), "<null>"},
        {"16-bit -1 widens with its sign", WmiValue::Sint16(-1), "-1 (0xFFFFFFFF)"},
        {"16-bit keeps only its low half", Typed(kWmiInt16, 0x12345), "9029 (0x2345)"},
        {"32-bit in decimal and upper-case hex", WmiValue::Sint32(3200), "3200 (0xC80)"},
        {"uint32 above 2^31 arrives as a negative 32-bit value", WmiValue::Uint32(4294967295u),
         "-1 (0xFFFFFFFF)"},
        {"real: ten wide, four decimals", WmiValue::Real64(1.5), "    1.5000"},
        {"real wider than ten is not cut", WmiValue::Real64(-123456.78901), "-123456.7890"},
        {"32-bit real", WmiValue::Real32(0.25f), "    0.2500"},
        {"string between double quotes", WmiValue::String("Intel"), "\"Intel\""},
        {"empty string still has its quotes", WmiValue::String(""), "\"\""},
        {"uint64 travels as a string", WmiValue::Uint64(500107862016ull), "\"500107862016\""},
        {"boolean true is any non-zero", Typed(kWmiBoolean, -1), "TRUE"},
        {"boolean false", WmiValue::Boolean(false), "FALSE"},
        {"byte below 32 as a number", WmiValue::Uint8(10), "10 (0xA)"},
        {"byte 32 and above as a character", WmiValue::Uint8(65), "'A' (65, 0x41)"},
        {"byte above 127 as its Latin-1 character", WmiValue::Uint8(0xE9),
         "'\xC3\xA9' (233, 0xE9)"},
        {"reference: no text", Typed(kWmiObjectRef), std::nullopt},
        {"array of strings: no text", Typed(kWmiArray | kWmiString), std::nullopt},
        {"array of bytes: no text", Typed(kWmiArray | kWmiUint8), std::nullopt},
        {"array of references: no text", Typed(kWmiArray | kWmiObjectRef), std::nullopt},
        {"array of dates is not convertible", Typed(kWmiArray | kWmiDate), "<conversion error>"},
        {"empty", Typed(kWmiEmpty), "<conversion error>"},
        {"currency", Typed(kWmiCurrency), "<conversion error>"},
        {"date", Typed(kWmiDate), "<conversion error>"},
        {"generic object", Typed(kWmiUnknownObject), "<conversion error>"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatWmiValue(c.Value), c.Text) << c.Why;
    }
}

TEST(FormatWmiValue, RealsKeepThePointUnderACommaLocale) {
    // Only matters where such a locale is installed; the C locale passes trivially.
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
        GTEST_SKIP() << "no de_DE.UTF-8 locale here";
    }
    const auto text = FormatWmiValue(WmiValue::Real64(2.25));
    std::setlocale(LC_NUMERIC, before.c_str());
    EXPECT_EQ(text, "    2.2500");
}

TEST(CimDatetime, LocalTimeWithItsOffsetInMinutes) {
    EXPECT_EQ(CimDatetime(2024, 3, 25, 9, 5, 2, 3600), "20240325090502.000000+060");
    EXPECT_EQ(CimDatetime(1999, 12, 31, 23, 59, 59, -5 * 3600 - 1800), "19991231235959.000000-330");
    EXPECT_EQ(CimDatetime(2024, 1, 1, 0, 0, 0, 0), "20240101000000.000000+000");
}

} // namespace
} // namespace sentinax
