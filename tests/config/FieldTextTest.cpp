#include "config/FieldText.h"

#include <climits>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace sentinax {
namespace {

TEST(ParseDecimal, ReadsLeadingNumberLikeTheRowsAndSettingsNeed) {
    const struct {
        const char* text;
        int expected;
    } cases[] = {
        {"", 0},
        {"abc", 0},
        {"42", 42},
        {"  \t 17", 17},
        {"-5", -5},
        {"+8", 8},
        {"12abc", 12},
        {"3.9", 3},
        {"- 4", 0},
        {"0x1F", 0},
        {"007", 7},
        {"--1", 0},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"-2147483648", INT_MIN},
        {"99999999999999999999", INT_MAX},
        {"-99999999999999999999", INT_MIN},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseDecimal(c.text), c.expected) << '"' << c.text << '"';
}

TEST(NextField, SplitsAtCommasAndTrimsOnlyTheRest) {
    const struct {
        const char* row;
        std::vector<std::string> fields; // successive NextField results
        const char* rest;
    } cases[] = {
        {"a,b,c", {"a", "b", "c"}, "c"},
        // Blanks after a comma go with the trimmed rest; before it they stay.
        {"a , b ,c", {"a ", "b ", "c"}, "c"},
        // Past the end the last field repeats.
        {"x,1", {"x", "1", "1", "1"}, "1"},
        {"", {"", ""}, ""},
        {"a,,b", {"a", "", "b"}, "b"},
        {"a,", {"a", "", ""}, ""},
        {"a,  ,b", {"a", "", "b"}, "b"},
    };
    for (const auto& c : cases) {
        std::string row = c.row;
        for (const std::string& expected : c.fields)
            EXPECT_EQ(NextField(row), expected) << "row \"" << c.row << '"';
        EXPECT_EQ(row, c.rest) << "row \"" << c.row << '"';
    }
}

TEST(NextField, HandlesRowsFarBeyondTwoHundredFiftyFiveCharacters) {
    const std::string longField(3000, 'n');
    std::string row = longField + ", " + longField + ",7";
    EXPECT_EQ(NextField(row), longField);
    EXPECT_EQ(NextField(row), longField);
    EXPECT_EQ(NextField(row), "7");
}

} // namespace
} // namespace sentinax
