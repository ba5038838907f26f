#include "CIniFile.h"

#include "hardware/RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <iostream>
#include <signal.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace sentinax {

namespace {

enum class ReadResult { Ok, Missing, Failed };

ReadResult ReadWholeFile(const std::string& path, std::string& out, std::string& why) {
    const FileCheck check = ReadRegularFile(path, CIniFile::kMaxFileBytes, out);
    if (check.Status == FileStatus::Missing)
        return ReadResult::Missing;
    why = check.Why;
    return check.Ok() ? ReadResult::Ok : ReadResult::Failed;
}

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

CIniFile::CIniFile(std::string path) : CIniFile(std::move(path), std::cerr) {}

CIniFile::CIniFile(std::string path, std::ostream& messages)
    : path_(std::move(path)), messages_(&messages) {}

const IniDocument& CIniFile::Document() const {
    if (!cache_) {
        RemoveStaleTemporaries(path_, *messages_);
        std::string bytes;
        switch (ReadWholeFile(path_, bytes, problem_)) {
        case ReadResult::Ok:
            state_ = ReadState::Read;
            break;
        case ReadResult::Missing:
            state_ = ReadState::Missing;
            break;
        case ReadResult::Failed:
            state_ = ReadState::Unreadable;
            *messages_ << "Sentinax: cannot read " << path_ << ": " << problem_ << '\n';
            break;
        }
        if (state_ != ReadState::Unreadable)
            problem_.clear();
        cache_.emplace(std::move(bytes));
    }
    return *cache_;
}

CIniFile::ReadState CIniFile::State() const {
    Document();
    return state_;
}

const std::string& CIniFile::Problem() const {
    Document();
    return problem_;
}

void CIniFile::ReportOverfull() const {
    for (const IniDocument::Overfull& section : cache_->OverfullSections()) {
        if (std::find(overfullReported_.begin(), overfullReported_.end(), section.Section) !=
            overfullReported_.end())
            continue;
        overfullReported_.push_back(section.Section);
        *messages_ << "Sentinax: " << path_ << ": [" << section.Section << "] has " << section.Rows
                   << " rows; only the first " << IniDocument::kMaxRowsPerSection << " are read\n";
    }
}

std::string CIniFile::GetString(std::string_view section, std::string_view key,
                                std::string_view def) const {
    std::string value = Document().GetString(section, key, def);
    ReportOverfull();
    return value;
}

bool CIniFile::GetKeyNames(std::string_view section, std::vector<std::string>& names) const {
    const bool any = Document().GetKeyNames(section, names);
    ReportOverfull();
    return any;
}

bool CIniFile::SetString(std::string_view section, std::string_view key, std::string_view value) {
    const auto refuse = [&](const char* why) {
        *messages_ << "Sentinax: not written to " << path_ << ": [" << section << "] " << key << ' '
                   << why << '\n';
        return false;
    };
    if (!IniDocument::CanHold(section, key, value))
        return refuse("holds a line break or a bad name");
    Document();
    if (!cache_->SetString(section, key, value))
        return refuse("is a new row in a section that already holds the most rows read");
    ReportOverfull();
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
        *messages_ << "Sentinax: cannot save settings to " << path_ << ": " << why << '\n';
        return false;
    }
    IniDocument document(bytes);
    for (const Edit& edit : pending_)
        document.SetString(edit.section, edit.key, edit.value);
    std::string updated = document.Bytes();
    if (read == ReadResult::Missing || updated != bytes) {
        if (!ReplaceFile(path_, updated, why)) {
            *messages_ << "Sentinax: cannot save settings to " << path_ << ": " << why << '\n';
            return false;
        }
    }
    cache_.emplace(std::move(updated));
    pending_.clear();
    return true;
}

void CIniFile::RemoveStaleTemporaries(const std::string& path, std::ostream& messages) {
    std::string target = path;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* resolved = ::realpath(path.c_str(), nullptr)) {
            target = resolved;
            std::free(resolved);
        }
    }
    std::string dir, base;
    SplitPath(target, dir, base);
    DIR* folder = ::opendir(dir.c_str());
    if (folder == nullptr)
        return;
    const pid_t self = ::getpid();
    while (const dirent* entry = ::readdir(folder)) {
        const std::string name = entry->d_name;
        const pid_t owner = TemporaryOwner(name, base);
        // kill(pid, 0) fails with ESRCH only when no process has that id; a
        // process of another user (EPERM) may still be writing its file.
        if (owner == 0 || owner == self || ::kill(owner, 0) == 0 || errno != ESRCH)
            continue;
        const std::string file = dir + name;
        if (::lstat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid())
            continue;
        if (::unlink(file.c_str()) == 0)
            messages << "Sentinax: removed " << file << ", left by a save that was interrupted\n";
    }
    ::closedir(folder);
}

} // namespace sentinax
