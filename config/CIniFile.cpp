#include "CIniFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace sentinax {

namespace {

// Larger files are not skin files; refusing them keeps a wrong path (a log,
// a device) from filling the memory.
constexpr off_t kMaxFileSize = 16 * 1024 * 1024;

enum class ReadResult { Ok, Missing, Failed };

ReadResult ReadWholeFile(const std::string& path, std::string& out, std::string& why) {
    out.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return ReadResult::Missing;
        why = std::strerror(errno);
        return ReadResult::Failed;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxFileSize) {
        why = S_ISDIR(st.st_mode) ? "is a directory" : "not a regular file of sensible size";
        ::close(fd);
        return ReadResult::Failed;
    }
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            why = std::strerror(errno);
            ::close(fd);
            return ReadResult::Failed;
        }
        out.append(buffer, static_cast<std::size_t>(n));
        if (out.size() > static_cast<std::size_t>(kMaxFileSize)) {
            why = "file too large";
            ::close(fd);
            return ReadResult::Failed;
        }
    }
    ::close(fd);
    return ReadResult::Ok;
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
bool ReplaceFile(const std::string& path, const std::string& bytes, std::string& why) {
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
    if (exists) {
        ok = ::fchmod(fd, st.st_mode & 07777) == 0;
        if (ok && (st.st_uid != ::geteuid() || st.st_gid != ::getegid()))
            (void)::fchown(fd, st.st_uid, st.st_gid); // only root may; a failure keeps our owner
    }
    ok = ok && WriteAll(fd, bytes) && ::fsync(fd) == 0;
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
    // Make the rename itself durable.
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        (void)::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

} // namespace

CIniFile::CIniFile(std::string path) : path_(std::move(path)) {}

const IniDocument& CIniFile::Document() const {
    if (!cache_) {
        std::string bytes, why;
        if (ReadWholeFile(path_, bytes, why) == ReadResult::Failed)
            std::fprintf(stderr, "Sentinax: cannot read %s: %s\n", path_.c_str(), why.c_str());
        cache_.emplace(std::move(bytes));
    }
    return *cache_;
}

std::string CIniFile::GetString(std::string_view section, std::string_view key,
                                std::string_view def) const {
    return Document().GetString(section, key, def);
}

bool CIniFile::GetKeyNames(std::string_view section, std::vector<std::string>& names) const {
    return Document().GetKeyNames(section, names);
}

bool CIniFile::SetString(std::string_view section, std::string_view key, std::string_view value) {
    if (!IniDocument::CanHold(section, key, value)) {
        std::fprintf(stderr,
                     "Sentinax: not written to %s: [%.*s] %.*s holds a line break or a bad name\n",
                     path_.c_str(), static_cast<int>(section.size()), section.data(),
                     static_cast<int>(key.size()), key.data());
        return false;
    }
    Document();
    cache_->SetString(section, key, value);
    pending_.push_back({std::string(section), std::string(key), std::string(value)});
    return true;
}

bool CIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    return SetString(section, key, value) && Commit();
}

bool CIniFile::Commit() {
    if (pending_.empty())
        return true;
    std::string bytes, why;
    const ReadResult read = ReadWholeFile(path_, bytes, why);
    if (read == ReadResult::Failed) {
        // Never replace a file we could not read: its content would be lost.
        std::fprintf(stderr, "Sentinax: cannot save settings to %s: %s\n", path_.c_str(),
                     why.c_str());
        return false;
    }
    IniDocument document(bytes);
    for (const Edit& edit : pending_)
        document.SetString(edit.section, edit.key, edit.value);
    std::string updated = document.Bytes();
    if (read == ReadResult::Missing || updated != bytes) {
        if (!ReplaceFile(path_, updated, why)) {
            std::fprintf(stderr, "Sentinax: cannot save settings to %s: %s\n", path_.c_str(),
                         why.c_str());
            return false;
        }
    }
    cache_.emplace(std::move(updated));
    pending_.clear();
    return true;
}

} // namespace sentinax
