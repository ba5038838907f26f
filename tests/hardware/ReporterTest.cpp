// The process's reporter: what is installed hears every message, the lines of
// the parts' streams included, and the one before comes back; a message leaves
// on standard error with exactly one prefix.
#include "hardware/Reporter.h"
#include "hardware/JournalReporter.h"
#include "tests/support/RecordingReporter.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace sentinax {
namespace {

// What fd 2 receives while body runs.
template <typename Body> std::string StandardErrorOf(Body body) {
    int fds[2];
    if (::pipe(fds) != 0)
        return "<no pipe>";
    const int saved = ::dup(STDERR_FILENO);
    ::dup2(fds[1], STDERR_FILENO);
    ::close(fds[1]);
    body();
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    std::string got;
    char buffer[256];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        got.append(buffer, static_cast<size_t>(n));
    ::close(fds[0]);
    return got;
}

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

// With nothing installed the lines go to standard error: one prefix each,
// whatever the caller wrote, and no control character from outside text.
TEST(Reporter, StandardErrorByDefaultWithOnePrefixPerLine) {
    if (JournalReporter::ForStandardError().Journal())
        GTEST_SKIP() << "standard error is the journal here";
    const std::string got = StandardErrorOf([] {
        ReportMessage(MessagePriority::Warning, "two\nlines");
        ReportMessage(MessagePriority::Error, "sentinax4: prefixed by its caller");
        ReportedLines() << "label \x1b]0;x\x07 end\n";
    });
    EXPECT_EQ(got, "sentinax4: two\nsentinax4: lines\nsentinax4: prefixed by its caller\n"
                   "sentinax4: label ?]0;x? end\n");
}

} // namespace
} // namespace sentinax
