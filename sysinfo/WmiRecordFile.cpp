#include "WmiRecordFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sentinax {

namespace {

using namespace std::string_literals;

const std::string kLineEndThreeNul = "\r\n\0\0\0"s;
const std::string kSeparator = "\r\n\r\n\0\0"s;
const std::string kLineEndOneNul = "\r\n\0"s;

} // namespace

std::string WmiRecordFile::FirstHeadingRecord(const RelativePathField& path) {
    return std::string(path.Bytes()) + kLineEndThreeNul;
}

std::string WmiRecordFile::LaterHeadingRecord(const RelativePathField& path) {
    return kSeparator + std::string(path.Bytes()) + kLineEndThreeNul;
}

std::string WmiRecordFile::PropertyRecord(const PropertyLineField& line) {
    return std::string(line.Bytes()) + kLineEndOneNul;
}

bool WmiRecordFile::WriteFirstHeading(const RelativePathField& path) {
    return Write(FirstHeadingRecord(path), true);
}

bool WmiRecordFile::WriteLaterHeading(const RelativePathField& path) {
    return Write(LaterHeadingRecord(path), false);
}

bool WmiRecordFile::WriteProperty(const PropertyLineField& line) {
    return Write(PropertyRecord(line), false);
}

bool WmiRecordFile::Write(const std::string& bytes, bool truncate) {
    // O_NONBLOCK: a FIFO planted under the name must not hang the dialog.
    // The file is truncated only once it is known to be a regular file.
    const int fd = ::open(
        path_.c_str(),
        O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | (truncate ? 0 : O_APPEND), 0644);
    if (fd < 0) {
        return false;
    }
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (ok && truncate) {
        ok = ::ftruncate(fd, 0) == 0;
    }
    std::size_t done = 0;
    while (ok && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        ok = n > 0;
        if (ok) {
            done += static_cast<std::size_t>(n);
        }
    }
    ::close(fd);
    return ok;
}

} // namespace sentinax
