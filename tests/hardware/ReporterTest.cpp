// The process's reporter: what is installed hears every message, the lines of
// the parts' streams included, and the one before comes back; a message leaves
// on standard error with exactly one prefix.
#include "hardware/Reporter.h"
#include "hardware/JournalReporter.h"
#include "tests/support/RecordingReporter.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace sentinax {
namespace {

TEST(Reporter, InstalledReportersHearEverythingAndGiveWayInOrder) {
    Reporter* const before = &ProcessReporter();
    {
        RecordingReporter outer;
        ReportMessage(MessagePriority::Error, "to the outer one");
        {
            RecordingReporter inner;
            EXPECT_EQ(&ProcessReporter(), &inner);
            ReportedLines() << "cannot save settings to " << 7 << "\nhalf ";
            ReportedLines() << "a line\n";
            ASSERT_EQ(inner.Messages().size(), 2u);
            EXPECT_EQ(inner.Messages()[0].Priority, MessagePriority::Warning);
            EXPECT_EQ(inner.Text(), "cannot save settings to 7\nhalf a line\n");
        }
        EXPECT_EQ(&ProcessReporter(), &outer) << "the inner reporter did not give way";
        ReportedLines() << "back out\n";
        EXPECT_EQ(outer.Text(), "to the outer one\nback out\n");
        EXPECT_EQ(outer.Messages()[0].Priority, MessagePriority::Error);
    }
    EXPECT_EQ(&ProcessReporter(), before) << "a test's reporter stayed installed";
}

// Each thread has its own stream: lines written at once by two threads arrive
// whole, never mixed.
TEST(Reporter, LinesOfTwoThreadsStayWhole) {
    RecordingReporter heard;
    const auto write = [](char c) {
        for (int i = 0; i < 200; ++i) {
            for (int k = 0; k < 20; ++k)
                ReportedLines() << c;
            ReportedLines() << '\n';
        }
    };
    std::thread a(write, 'a'), b(write, 'b');
    a.join();
    b.join();
    const std::vector<RecordingReporter::Message> messages = heard.Messages();
    ASSERT_EQ(messages.size(), 400u);
    for (const auto& m : messages)
        EXPECT_TRUE(m.Text == std::string(20, 'a') || m.Text == std::string(20, 'b')) << m.Text;
}

} // namespace
} // namespace sentinax
