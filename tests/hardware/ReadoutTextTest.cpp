// The readout texts are made without printf; they must be the very texts
// printf's "%.2f", "%.2d" and "%d" give, for every value a sensor can deliver
// and at the ends of the range.
#include "hardware/ReadoutText.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace sentinax {
namespace {

template <typename T> std::string Printf(const char* format, T value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

std::vector<int32_t> Values() {
    std::vector<int32_t> values;
    // Every reading of ±200 V and ±200000 rpm, and rounding edges of either
    // kind (…5 mV, whose decimal half lies just above or below in binary).
    for (int32_t v = -200000; v <= 200000; ++v)
        values.push_back(v);
    for (int32_t v : {INT32_MIN, INT32_MIN + 1, -1000000005, 1000000005, INT32_MAX - 1, INT32_MAX})
        values.push_back(v);
    std::mt19937 random(17);
    std::uniform_int_distribution<int32_t> any(INT32_MIN, INT32_MAX);
    for (int i = 0; i < 200000; ++i)
        values.push_back(any(random));
    return values;
}

TEST(ReadoutText, AgreesWithPrintfEverywhere) {
    for (int32_t v : Values()) {
        ASSERT_EQ(VoltsText(v), Printf("%.2f", Volts(v))) << v << " mV";
        ASSERT_EQ(IntText(v), Printf("%d", v)) << v;
        ASSERT_EQ(CpuTempText(v, true), Printf("%.2d", v) + " .C") << v;
        ASSERT_EQ(SysTempText(v, true), Printf("%.2d", v) + "  .C") << v;
        ASSERT_EQ(CpuTempText(v, false), Printf("%d", ToFahrenheit(v)) + " .F") << v;
    }
}

TEST(ReadoutText, KnownTexts) {
    const struct {
        int32_t millivolts;
        const char* text;
    } cases[] = {
        {1355, "1.35"}, // 1.355 is a little under the half in binary
        {1365, "1.36"}, // 1.365 a little over
        {-1, "-0.00"},  // the sign stays, as printf keeps it
        {12096, "12.10"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VoltsText(c.millivolts), c.text) << c.millivolts;
    EXPECT_EQ(CpuTempText(-5, true), "-05 .C");
    EXPECT_EQ(IntText(INT32_MIN), "-2147483648");
}

} // namespace
} // namespace sentinax
