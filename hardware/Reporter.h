// The one way a message reaches the user. Every part says what the user
// should hear through the process's reporter: a line of text and how much it
// matters. The reporter adds the prefix "sentinax4: " (callers never write
// it), sends the line to standard error (with the journal's priority under
// systemd, see JournalReporter.h) and, while a window is up, shows it on the
// window's hint line as well.
//
// The composition root installs the reporter of its run (the window's, or the
// plain standard error of the run without a display); until one is installed,
// and after it goes, messages go to standard error. Parts that write their
// messages to a stream keep taking a stream (their tests hand them one); their
// default is ReportedLines(), whose lines go to the process's reporter.
//
// Tests observe messages by installing a recording reporter for their scope
// (tests/support/RecordingReporter.h): ScopedReporter restores the one before.
#pragma once

#include "MessagePriority.h"

#include <ostream>
#include <string>

namespace sentinax {

class Reporter {
public:
    virtual ~Reporter() = default;
    // One message, without the prefix; several lines give several lines.
    // May be called from any thread.
    virtual void Report(MessagePriority priority, const std::string& message) = 0;
};

// The reporter installed now; standard error when none is.
Reporter& ProcessReporter();
// ProcessReporter().Report(priority, message).
void ReportMessage(MessagePriority priority, const std::string& message);
// A stream (one per thread) whose lines go to the process's reporter as
// warnings, each when its line ends.
std::ostream& ReportedLines();

// Installs a reporter for the life of this object and puts the one before
// back afterwards. Installers end in the reverse order of their start.
class ScopedReporter {
public:
    explicit ScopedReporter(Reporter& reporter);
    ~ScopedReporter();
    ScopedReporter(const ScopedReporter&) = delete;
    ScopedReporter& operator=(const ScopedReporter&) = delete;
    // The reporter that was installed before this one.
    Reporter& Previous() const { return *previous_; }

private:
    Reporter* previous_;
};

} // namespace sentinax
