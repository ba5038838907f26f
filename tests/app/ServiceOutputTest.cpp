// What a monitor run as a service tells the journal and systemd: its lines
// with their priorities only where standard error is the journal's stream,
// and its state through the notification socket.
#include "ScratchFolder.h"
#include "app/SystemdNotifier.h"
#include "hardware/JournalReporter.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace sentinax {
namespace {

TEST(JournalReporter, LinesWithAndWithoutPriorities) {
    struct Case {
        bool journal;
        MessagePriority priority;
        std::string message;
        std::string written;
        const char* why;
    };
    const Case cases[] = {
        {true, MessagePriority::Critical, "the system powers off at 14:03:12",
         "<2>sentinax4: the system powers off at 14:03:12\n", "the journal reads the priority"},
        {true, MessagePriority::Warning, "sentinax4: already prefixed\n",
         "<4>sentinax4: already prefixed\n", "one prefix, one line end"},
        {false, MessagePriority::Error, "logind did not schedule it",
         "sentinax4: logind did not schedule it\n", "a terminal gets no brackets"},
        {true, MessagePriority::Info, "first\nsecond",
         "<6>sentinax4: first\n<6>sentinax4: second\n", "every line is filed"},
        {false, MessagePriority::Notice, "label \x1b]0;owned\x07 end\tok",
         "sentinax4: label ?]0;owned? end\tok\n", "no terminal control from outside text"},
        {true, MessagePriority::Warning, "", "<4>sentinax4: \n", "an empty message is one line"},
    };
    for (const Case& c : cases) {
        int pipeFds[2];
        ASSERT_EQ(::pipe(pipeFds), 0);
        JournalReporter reporter(pipeFds[1], c.journal);
        EXPECT_EQ(reporter.Format(c.priority, c.message), c.written) << c.why;
        reporter.Report(c.priority, c.message);
        ::close(pipeFds[1]);
        std::string got;
        char buffer[256];
        for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
            got.append(buffer, static_cast<size_t>(n));
        ::close(pipeFds[0]);
        EXPECT_EQ(got, c.written) << c.why;
    }
    // A stream whose reader is gone: the line is lost, the program goes on.
    int gone[2];
    ASSERT_EQ(::pipe(gone), 0);
    ::close(gone[0]);
    const auto old = std::signal(SIGPIPE, SIG_IGN);
    JournalReporter(gone[1], true).Report(MessagePriority::Warning, "nobody listens");
    std::signal(SIGPIPE, old);
    ::close(gone[1]);
}

TEST(JournalReporter, TheStreamIsTheJournalOnlyWhenItsDeviceAndInodeMatch) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    struct stat st {};
    ASSERT_EQ(::fstat(fds[1], &st), 0);
    const std::string ours = std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
    const std::string other = std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino + 1);
    EXPECT_TRUE(StreamIsJournal(ours.c_str(), fds[1]));
    // Inherited by a program whose standard error went elsewhere.
    EXPECT_FALSE(StreamIsJournal(other.c_str(), fds[1]));
    for (const char* broken : {"", ":", "12", "12:", ":34", "12:34x", "x12:34", "-1:-1"})
        EXPECT_FALSE(StreamIsJournal(broken, fds[1])) << broken;
    EXPECT_FALSE(StreamIsJournal(nullptr, fds[1]));
    EXPECT_FALSE(StreamIsJournal(ours.c_str(), 999)) << "a closed descriptor";
    ::close(fds[0]);
    ::close(fds[1]);
}

TEST(SystemdNotifier, SendsItsStateToTheSocketSystemdNamed) {
    const test::ScratchFolder scratch("sx-notify");
    const std::string dir = scratch.Path().string();
    const std::string path = dir + "/notify";
    const std::string abstractName = "@sx-notify-test-" + std::to_string(::getpid());
    for (const std::string& name : {path, abstractName}) {
        const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        ASSERT_GE(fd, 0);
        sockaddr_un at{};
        at.sun_family = AF_UNIX;
        std::memcpy(at.sun_path, name.data(), name.size());
        if (name[0] == '@')
            at.sun_path[0] = '\0';
        const socklen_t size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) +
                                                      name.size() + (name[0] == '@' ? 0 : 1));
        ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&at), size), 0) << name;
        const SystemdNotifier notifier(name.c_str());
        ASSERT_TRUE(notifier.Enabled());
        EXPECT_TRUE(notifier.Send("READY=1\nSTATUS=monitoring KX-4100"));
        char buffer[128] = {};
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
        EXPECT_EQ(std::string(buffer, n > 0 ? static_cast<size_t>(n) : 0),
                  "READY=1\nSTATUS=monitoring KX-4100")
            << name;
        ::close(fd);
    }
    // Not run by systemd, or a value that names no socket: nothing is sent.
    const std::string tooLong = "/" + std::string(200, 'x');
    for (const char* none :
         {static_cast<const char*>(nullptr), "", "relative/notify", "@", tooLong.c_str()}) {
        const SystemdNotifier notifier(none);
        EXPECT_FALSE(notifier.Enabled()) << (none ? none : "unset");
        EXPECT_FALSE(notifier.Send("READY=1"));
    }
    // A socket that is gone: a failed send, no crash.
    EXPECT_FALSE(SystemdNotifier("/nonexistent/sx-notify").Send("WATCHDOG=1"));
}

TEST(SystemdNotifier, WatchdogPingsAtHalfItsPeriodForThisProcessOnly) {
    EXPECT_EQ(WatchdogPingMs("120000000", nullptr, 42), 60000);
    EXPECT_EQ(WatchdogPingMs("120000000", "42", 42), 60000);
    EXPECT_EQ(WatchdogPingMs("120000000", "43", 42), 0) << "meant for another process";
    EXPECT_EQ(WatchdogPingMs("1000", "", 42), 1) << "never a zero period";
    for (const char* none : {static_cast<const char*>(nullptr), "", "0", "-5", "12s", "x"})
        EXPECT_EQ(WatchdogPingMs(none, nullptr, 42), 0) << (none ? none : "unset");
}

} // namespace
} // namespace sentinax
