// Lines written to a report stream reach the report function whole, one call
// per line, however the writes split them.
#include "hardware/ReportStream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sentinax {
namespace {

TEST(ReportStream, EachLineIsReportedOnceAndWhole) {
    std::vector<std::string> said;
    {
        ReportStream stream([&said](const std::string& line) { said.push_back(line); });
        stream << "sentinax4: the shared memory " << 42 << " is taken\n";
        stream << "first\nsec";
        EXPECT_EQ(said.size(), 2u) << "an open line waits for its end";
        stream << "ond\n\n";
        stream << "no newline at the end";
    }
    EXPECT_EQ(said, (std::vector<std::string>{"sentinax4: the shared memory 42 is taken", "first",
                                              "second", "", "no newline at the end"}));
}

} // namespace
} // namespace sentinax
