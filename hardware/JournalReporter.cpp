#include "JournalReporter.h"

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace sentinax {

namespace {

constexpr char kPrefix[] = "sentinax4: ";

} // namespace

bool StreamIsJournal(const char* journalStream, int fd) {
    if (!journalStream || !*journalStream)
        return false;
    const char* end = journalStream + std::strlen(journalStream);
    const char* colon = std::strchr(journalStream, ':');
    if (!colon)
        return false;
    unsigned long long device = 0, inode = 0;
    const auto [devEnd, devError] = std::from_chars(journalStream, colon, device);
    const auto [inoEnd, inoError] = std::from_chars(colon + 1, end, inode);
    if (devError != std::errc() || devEnd != colon || inoError != std::errc() || inoEnd != end)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return false;
    return static_cast<unsigned long long>(st.st_dev) == device &&
           static_cast<unsigned long long>(st.st_ino) == inode;
}

JournalReporter JournalReporter::ForStandardError() {
    return JournalReporter(STDERR_FILENO,
                           StreamIsJournal(std::getenv("JOURNAL_STREAM"), STDERR_FILENO));
}

std::string JournalReporter::Format(MessagePriority priority, const std::string& message) const {
    std::string text = message;
    // A caller that wrote the prefix itself gets it once.
    if (text.compare(0, sizeof kPrefix - 1, kPrefix) == 0)
        text.erase(0, sizeof kPrefix - 1);
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    const std::string lead =
        (journal_ ? "<" + std::to_string(static_cast<int>(priority)) + ">" : std::string()) +
        kPrefix;
    std::string out = lead;
    for (char c : text) {
        if (c == '\n') {
            out += '\n';
            out += lead;
        } else if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7f) {
            out += '?';
        } else {
            out += c;
        }
    }
    out += '\n';
    return out;
}

void JournalReporter::Report(MessagePriority priority, const std::string& message) {
    const std::string bytes = Format(priority, message);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return; // the stream is gone (EPIPE with SIGPIPE ignored, as systemd runs services)
        done += static_cast<std::size_t>(n);
    }
}

} // namespace sentinax
