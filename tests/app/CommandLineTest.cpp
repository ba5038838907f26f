// A switch that cannot be read ends both programs alike; what is left over is
// Qt's in the window's program and a fault in the run without a display.
#include "app/CommandLine.h"
#include "tests/support/RecordingReporter.h"

#include <gtest/gtest.h>

#include <sstream>

namespace sentinax {
namespace {

TEST(CommandLine, BadSwitchesAndLeftoversAreAnsweredAlike) {
    struct Case {
        std::vector<std::string> args;
        bool restGoesToQt;
        std::optional<int> status;
        std::string reported;
    };
    for (const Case& c :
         std::vector<Case>{{{"sentinax4", "--autostart", "maybe"},
                            true,
                            2,
                            "--autostart takes on or off, not 'maybe'\n"},
                           {{"sentinax4-headless", "--headless", "-platform"},
                            false,
                            2,
                            "unknown argument -platform\n"},
                           {{"sentinax4", "-platform", "offscreen"}, true, std::nullopt, ""}}) {
        const RecordingReporter heard;
        std::ostringstream out, errors;
        EXPECT_EQ(AnswerCommandLine(ParseCommandLine(c.args, nullptr), c.restGoesToQt, "4.0", out,
                                    errors),
                  c.status);
        EXPECT_EQ(heard.Text(), c.reported);
        EXPECT_EQ(errors.str(), c.status ? UsageText() : "") << "the usage goes with the fault";
        EXPECT_EQ(out.str(), "");
    }
}

} // namespace
} // namespace sentinax
