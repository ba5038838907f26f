// Messages for the user on standard error, one line each after the prefix
// "sentinax4: ". Run by systemd with standard error connected to the journal
// (systemd then names that stream's device and inode in JOURNAL_STREAM), every
// line starts with its syslog priority in angle brackets ("<4>sentinax4: ..."):
// journald files the line under that priority and strips the brackets. Anywhere
// else (a terminal, a file, a pipe) the lines carry no such prefix.
//
// A message of several lines gives several lines, each with the prefix;
// control characters (an escape sequence in a sensor label, say) are shown as
// '?', so nothing a file or the hardware says can steer a terminal. A line is
// written whole in one call; a stream that is gone loses it silently (the
// caller has nowhere else to say it).
#pragma once

#include "MessagePriority.h"
#include "Reporter.h"

#include <string>

namespace sentinax {

// journalStream ("<device>:<inode>", as systemd sets JOURNAL_STREAM) names
// the file open on fd.
bool StreamIsJournal(const char* journalStream, int fd);

class JournalReporter : public Reporter {
public:
    // fd: where the lines go; journal: whether they carry the priority.
    JournalReporter(int fd, bool journal) : fd_(fd), journal_(journal) {}
    // Standard error, with priorities when JOURNAL_STREAM names it.
    static JournalReporter ForStandardError();

    void Report(MessagePriority priority, const std::string& message) override;
    // The bytes Report writes for the message.
    std::string Format(MessagePriority priority, const std::string& message) const;
    bool Journal() const { return journal_; }

private:
    int fd_;
    bool journal_;
};

} // namespace sentinax
