// Opening the files the program reads and writes, safely: every such file must
// be a regular file, and a file read whole has a size cap.
//
// Why: a FIFO, a device or a socket planted under a data file's name would
// stall a plain open() or read() for ever (the monitor's one thread, and with
// it the alarms and the power-off protection, would stop), and /dev/zero
// behind a link would fill the memory. So the file is opened with O_NONBLOCK
// (an open of a FIFO then returns at once), fstat must report S_ISREG, and
// only then is O_NONBLOCK cleared and the file used.
//
// Use these for every file of outside origin: the board tables, the skin and
// settings file, log.dat, SOUND.wav, and the hardware library's data files.
// Header-only, so that libhmio.so (which links nothing of ours) can use it too.
// Messages are built by the caller from Why(), which reads like "is a FIFO",
// "is a directory", "is larger than 16 MiB" or the system's error text.
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace sentinax {

enum class FileStatus {
    Ok,
    Missing,    // no such file (ENOENT)
    NotRegular, // a directory, FIFO, device, socket or (with O_NOFOLLOW) a link
    TooLarge,   // larger than the cap given
    Failed,     // any other error: permissions, I/O
};

struct FileCheck {
    FileStatus Status = FileStatus::Ok;
    std::string Why; // empty when Ok
    bool Ok() const { return Status == FileStatus::Ok; }
};

// "a directory", "a FIFO", ... for a stat mode; "not a regular file" otherwise.
inline std::string DescribeFileType(mode_t mode) {
    if (S_ISREG(mode))
        return "a regular file";
    if (S_ISDIR(mode))
        return "a directory";
    if (S_ISFIFO(mode))
        return "a FIFO";
    if (S_ISCHR(mode))
        return "a character device";
    if (S_ISBLK(mode))
        return "a block device";
    if (S_ISSOCK(mode))
        return "a socket";
    if (S_ISLNK(mode))
        return "a symbolic link";
    return "not a regular file";
}

// "16 MiB", "64 KiB" or "300 bytes": caps as people write them.
inline std::string DescribeByteCount(std::size_t bytes) {
    if (bytes >= (std::size_t{1} << 20) && bytes % (std::size_t{1} << 20) == 0)
        return std::to_string(bytes >> 20) + " MiB";
    if (bytes >= 1024 && bytes % 1024 == 0)
        return std::to_string(bytes >> 10) + " KiB";
    return std::to_string(bytes) + " bytes";
}

namespace regular_file_detail {

inline FileCheck Problem(FileStatus status, std::string why) {
    return {status, std::move(why)};
}

// Explains a failed open: the kind of thing found under the name where the
// error says it is not a file we may use.
inline FileCheck OpenFailure(const std::string& path, int error, bool creating) {
    if (error == ENOENT)
        return Problem(FileStatus::Missing,
                       creating ? "is in a folder that does not exist" : "does not exist");
    if (error == ELOOP || error == ENXIO || error == EISDIR || error == ENODEV ||
        error == EOPNOTSUPP) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
            return Problem(FileStatus::NotRegular, "is " + DescribeFileType(st.st_mode));
    }
    return Problem(FileStatus::Failed, std::strerror(error));
}

} // namespace regular_file_detail

// Opens path as a regular file. flags are open(2) flags (O_RDONLY, O_WRONLY |
// O_APPEND | O_CREAT, ...; add O_NOFOLLOW to refuse a final symbolic link);
// O_NONBLOCK and O_CLOEXEC are added. Returns the descriptor, in blocking
// mode, or -1 with check saying why. A descriptor is never left open on failure.
inline int OpenRegularFile(const std::string& path, int flags, FileCheck& check,
                           mode_t mode = 0666) {
    check = {};
    int fd = -1;
    do {
        fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        check = regular_file_detail::OpenFailure(path, errno, (flags & O_CREAT) != 0);
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        check = regular_file_detail::Problem(FileStatus::Failed, std::strerror(errno));
        ::close(fd);
        return -1;
    }
    if (!S_ISREG(st.st_mode)) {
        check = regular_file_detail::Problem(FileStatus::NotRegular,
                                             "is " + DescribeFileType(st.st_mode));
        ::close(fd);
        return -1;
    }
    const int status = ::fcntl(fd, F_GETFL);
    if (status != -1)
        (void)::fcntl(fd, F_SETFL, status & ~O_NONBLOCK);
    return fd;
}

// Reads the whole regular file at path into out (emptied first), at most
// maxBytes; a larger file (or one that grows past the cap while being read)
// is refused as TooLarge and out is left empty.
inline FileCheck ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& out,
                                 int extraFlags = 0) {
    out.clear();
    FileCheck check;
    const int fd = OpenRegularFile(path, O_RDONLY | extraFlags, check);
    if (fd < 0)
        return check;
    const auto tooLarge = [&] {
        return regular_file_detail::Problem(FileStatus::TooLarge,
                                            "is larger than " + DescribeByteCount(maxBytes));
    };
    struct stat st {};
    if (::fstat(fd, &st) == 0 && st.st_size > 0 &&
        static_cast<unsigned long long>(st.st_size) > maxBytes) {
        ::close(fd);
        return tooLarge();
    }
    if (st.st_size > 0)
        out.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            check = regular_file_detail::Problem(FileStatus::Failed, std::strerror(errno));
            break;
        }
        if (out.size() + static_cast<std::size_t>(n) > maxBytes) {
            check = tooLarge();
            break;
        }
        out.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (!check.Ok())
        out.clear();
    return check;
}

} // namespace sentinax
