// What the window's program and the run without a display answer alike before
// they start: a line that cannot be read, --help and --version.
#include "app/CommandLine.h"
#include "tests/support/RecordingReporter.h"

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace sentinax {
namespace {

TEST(CommandLine, BothProgramsAnswerTheSameSwitchesAlike) {
    struct Case {
        std::vector<std::string> args;
        bool restGoesToQt;
        std::optional<int> status;
        bool usageOut, usageErrors;
        std::string reported;
        const char* why;
    };
    const std::vector<Case> cases = {
        {{"sentinax4", "--help"}, true, 0, true, false, "", "usage on standard output"},
        {{"sentinax4", "--version", "-platform", "xcb"}, true, 0, false, false, "", "version"},
        {{"sentinax4", "--autostart", "maybe"},
         true,
         2,
         false,
         true,
         "--autostart takes on or off, not 'maybe'\n",
         "a bad value"},
        {{"sentinax4-headless", "--metrics-dir"},
         false,
         2,
         false,
         true,
         "--metrics-dir needs a value\n",
         "a missing value"},
        {{"sentinax4-headless", "-platform"},
         false,
         2,
         false,
         true,
         "unknown argument -platform\n",
         "no Qt to take what is left"},
        {{"sentinax4", "-platform", "offscreen"},
         true,
         std::nullopt,
         false,
         false,
         "",
         "left to Qt: the window goes on"},
        {{"sentinax4-headless", "--settings", "a.ini"},
         false,
         std::nullopt,
         false,
         false,
         "",
         "the headless run goes on"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        if (!c.restGoesToQt)
            args.insert(args.begin() + 1, "--headless");
        const CommandLine line = ParseCommandLine(args, nullptr);
        const RecordingReporter heard;
        std::ostringstream out, errors;
        EXPECT_EQ(AnswerCommandLine(line, c.restGoesToQt, "4.0", out, errors), c.status) << c.why;
        EXPECT_EQ(heard.Text(), c.reported) << c.why;
        if (!c.reported.empty())
            EXPECT_EQ(heard.Messages()[0].Priority, MessagePriority::Error) << c.why;
        EXPECT_EQ(errors.str(), c.usageErrors ? UsageText() : "") << c.why;
        if (c.usageOut)
            EXPECT_EQ(out.str(), UsageText()) << c.why;
        else if (line.Version)
            EXPECT_EQ(out.str(), "Sentinax 4 4.0\n") << c.why;
        else
            EXPECT_EQ(out.str(), "") << c.why;
    }
}

} // namespace
} // namespace sentinax
