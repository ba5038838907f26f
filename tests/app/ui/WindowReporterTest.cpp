// The window's reporter: every message reaches the reporter behind it at once;
// the hint line gets the newest message once per pass of the event loop, the
// last early one when the window comes, and nothing once the window went.
#include "app/WindowReporter.h"
#include "tests/support/RecordingReporter.h"

#include <QCoreApplication>
#include <QObject>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sentinax {
namespace {

TEST(WindowReporter, ShowsTheNewestMessageOncePerPassAndPassesAllOn) {
    RecordingReporter standardError;
    WindowReporter window(standardError);
    ScopedReporter installed(window);
    std::vector<std::string> shown;
    QObject context;

    ReportMessage(MessagePriority::Warning, "early one");
    ReportMessage(MessagePriority::Error, "early two");
    QCoreApplication::processEvents();
    EXPECT_TRUE(shown.empty()) << "shown before there was a window";
    window.ShowOn(&context, [&shown](const std::string& text) { shown.push_back(text); });
    QCoreApplication::processEvents();
    EXPECT_EQ(shown, std::vector<std::string>{"early two"});

    for (int i = 0; i < 50; ++i)
        ReportMessage(MessagePriority::Warning, "burst " + std::to_string(i));
    ReportedLines() << "the fan\x1b[2J stopped\n";
    ReportMessage(MessagePriority::Warning, "two\nlines\n");
    EXPECT_EQ(shown.size(), 1u) << "the line was set inside the caller's call";
    QCoreApplication::processEvents();
    EXPECT_EQ(shown, (std::vector<std::string>{"early two", "two lines"}));

    window.Detach();
    ReportMessage(MessagePriority::Warning, "after the window");
    QCoreApplication::processEvents();
    EXPECT_EQ(shown.size(), 2u) << "shown on a window that went";

    const std::vector<RecordingReporter::Message> heard = standardError.Messages();
    ASSERT_EQ(heard.size(), 55u) << "a message did not reach standard error";
    EXPECT_EQ(heard[1].Priority, MessagePriority::Error);
    EXPECT_EQ(heard[52].Text, "the fan\x1b[2J stopped");
    EXPECT_EQ(heard[54].Text, "after the window");
    EXPECT_EQ(WindowReporter::LineText("the fan\x1b[2J\tstopped\r\n"), "the fan?[2J stopped?");
}

} // namespace
} // namespace sentinax
