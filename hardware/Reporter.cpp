#include "Reporter.h"

#include "JournalReporter.h"
#include "ReportStream.h"

#include <atomic>

namespace sentinax {

namespace {

// Standard error, as systemd or the terminal gave it at the first message.
Reporter& StandardError() {
    static JournalReporter standardError = JournalReporter::ForStandardError();
    return standardError;
}

std::atomic<Reporter*> installed{nullptr};

} // namespace

Reporter& ProcessReporter() {
    Reporter* reporter = installed.load(std::memory_order_acquire);
    return reporter ? *reporter : StandardError();
}

void ReportMessage(MessagePriority priority, const std::string& message) {
    ProcessReporter().Report(priority, message);
}

std::ostream& ReportedLines() {
    thread_local ReportStream lines(
        [](const std::string& line) { ReportMessage(MessagePriority::Warning, line); });
    return lines;
}

ScopedReporter::ScopedReporter(Reporter& reporter) : previous_(&ProcessReporter()) {
    installed.store(&reporter, std::memory_order_release);
}

ScopedReporter::~ScopedReporter() {
    installed.store(previous_ == &StandardError() ? nullptr : previous_, std::memory_order_release);
}

} // namespace sentinax
