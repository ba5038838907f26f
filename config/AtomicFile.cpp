#include "AtomicFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sentinax {

// Splits a path into its folder (with the separator, "./" for a bare name)
// and its file name.
void SplitPath(const std::string& path, std::string& dir, std::string& base) {
    const std::size_t slash = path.rfind('/');
    dir = slash == std::string::npos ? "./" : path.substr(0, slash + 1);
    base = slash == std::string::npos ? path : path.substr(slash + 1);
}

// The process id in ".<base>.tmp<pid>-<n>", or 0 when name is not such a file.
pid_t TemporaryOwner(const std::string& name, const std::string& base) {
    const std::string prefix = "." + base + ".tmp";
    if (name.compare(0, prefix.size(), prefix) != 0)
        return 0;
    const char* p = name.c_str() + prefix.size();
    long long pid = 0;
    const char* digits = p;
    while (*p >= '0' && *p <= '9' && pid < (1LL << 31))
        pid = pid * 10 + (*p++ - '0');
    if (p == digits || *p++ != '-' || *p < '0' || *p > '9')
        return 0;
    while (*p >= '0' && *p <= '9')
        ++p;
    return *p == '\0' && pid > 0 && pid < (1LL << 31) ? static_cast<pid_t>(pid) : 0;
}

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Replaces path by bytes so that at every moment the path names either the
// complete old file or the complete new one. Sets why on failure.
bool ReplaceFile(const std::string& path, const std::string& bytes, std::string& why,
                 Durability durability, mode_t mode) {
    // Write through a symbolic link to its target instead of replacing the link.
    std::string target = path;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char* resolved = ::realpath(path.c_str(), nullptr);
        if (resolved == nullptr) {
            why = std::string("cannot resolve link: ") + std::strerror(errno);
            return false;
        }
        target = resolved;
        std::free(resolved);
    }
    const bool exists = ::stat(target.c_str(), &st) == 0;
    // Renaming over a read-only file would succeed; the platform refuses it.
    if (exists && ::access(target.c_str(), W_OK) != 0) {
        why = std::strerror(errno);
        return false;
    }

    const std::size_t slash = target.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);

    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = dir + (slash == std::string::npos ? "/." : ".") + base + ".tmp" +
               std::to_string(::getpid()) + "-" + std::to_string(attempt);
        // 0666 lets the umask decide the mode of a new file, as for any file
        // the user creates; an existing file's mode is copied below.
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        why = std::string("cannot create a temporary file: ") + std::strerror(errno);
        return false;
    }
    bool ok = true;
    if (mode != 0) {
        ok = ::fchmod(fd, mode & 07777) == 0;
    } else if (exists) {
        ok = ::fchmod(fd, st.st_mode & 07777) == 0;
    }
    if (ok && exists && (st.st_uid != ::geteuid() || st.st_gid != ::getegid()))
        (void)::fchown(fd, st.st_uid, st.st_gid); // only root may; a failure keeps our owner
    ok = ok && WriteAll(fd, bytes) && (durability == Durability::Transient || ::fsync(fd) == 0);
    if (!ok)
        why = std::strerror(errno);
    if (::close(fd) != 0 && ok) {
        why = std::strerror(errno);
        ok = false;
    }
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        why = std::strerror(errno);
        ok = false;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    if (durability == Durability::Transient)
        return true;
    // Make the rename itself durable.
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        (void)::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

} // namespace sentinax
