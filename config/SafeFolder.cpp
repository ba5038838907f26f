#include "SafeFolder.h"

#include "hardware/RegularFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace sentinax {

namespace {

// As many links as the kernel follows in one path.
constexpr int kMaxLinks = 40;
// Folders made or met again while they are being made by someone else.
constexpr int kMaxMakeAttempts = 8;

bool OwnedByUserOrRoot(uid_t owner) {
    return owner == ::geteuid() || owner == 0;
}

// A link in a folder only its owner can change was made by that owner. In a
// sticky folder others may add names, so a link there counts only when it is
// the user's or root's own (the rule of the kernel's protected_symlinks).
bool MayFollow(const struct stat& holder, const struct stat& link) {
    if (!GuardedFolder(holder))
        return false;
    return (holder.st_mode & (S_IWGRP | S_IWOTH)) == 0 || OwnedByUserOrRoot(link.st_uid);
}

std::deque<std::string> Components(const std::string& path) {
    std::deque<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t slash = path.find('/', start);
        const std::size_t end = slash == std::string::npos ? path.size() : slash;
        if (end > start)
            parts.emplace_back(path, start, end - start);
        if (slash == std::string::npos)
            break;
        start = slash + 1;
    }
    return parts;
}

std::string ReadLinkAt(int folder, const std::string& name) {
    std::string target(256, '\0');
    for (;;) {
        const ssize_t n = ::readlinkat(folder, name.c_str(), target.data(), target.size());
        if (n < 0)
            return {};
        if (static_cast<std::size_t>(n) < target.size()) {
            target.resize(static_cast<std::size_t>(n));
            return target;
        }
        if (target.size() >= 65536)
            return {};
        target.resize(target.size() * 2);
    }
}

std::string Octal(mode_t mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

int OpenStart(bool absolute) {
    return ::open(absolute ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC);
}

// Walks path one component at a time (see SafeFolder.h); the descriptor of the
// folder reached, or -1 with why set.
int Walk(const std::string& path, mode_t makeMode, std::string& why) {
    const bool absolute = !path.empty() && path[0] == '/';
    int fd = OpenStart(absolute);
    if (fd < 0) {
        why = std::string(absolute ? "/" : ".") + ": " + std::strerror(errno);
        return -1;
    }
    std::deque<std::string> todo = Components(path);
    std::string walked = absolute ? "" : "."; // the folder fd stands for, for messages
    int links = 0;
    int makes = 0;
    const auto fail = [&](std::string text) {
        why = std::move(text);
        ::close(fd);
        return -1;
    };
    while (!todo.empty()) {
        const std::string name = std::move(todo.front());
        todo.pop_front();
        if (name == ".")
            continue;
        const std::string shown = walked == "." ? name : walked + "/" + name;
        const int next = ::openat(fd, name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next >= 0) {
            ::close(fd);
            fd = next;
            walked = shown;
            continue;
        }
        const int error = errno;
        struct stat st {};
        const bool found = ::fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
        if (found && S_ISLNK(st.st_mode)) {
            struct stat holder {};
            if (::fstat(fd, &holder) != 0 || !MayFollow(holder, st))
                return fail(shown + " is a symbolic link in a folder other users can change; it "
                                    "is not followed");
            if (++links > kMaxLinks)
                return fail(shown + ": " + std::strerror(ELOOP));
            const std::string target = ReadLinkAt(fd, name);
            if (target.empty())
                return fail(shown + ": cannot read the link");
            std::deque<std::string> parts = Components(target);
            todo.insert(todo.begin(), parts.begin(), parts.end());
            if (target[0] == '/') {
                ::close(fd);
                fd = OpenStart(true);
                if (fd < 0) {
                    why = std::string("/: ") + std::strerror(errno);
                    return -1;
                }
                walked = "";
            }
            continue;
        }
        if (found && !S_ISDIR(st.st_mode))
            return fail(shown + " is " + DescribeFileType(st.st_mode) + ", not a folder");
        if (!found && error == ENOENT && makeMode != 0 && ++makes <= kMaxMakeAttempts) {
            if (::mkdirat(fd, name.c_str(), makeMode) != 0 && errno != EEXIST)
                return fail(shown + ": cannot make the folder: " + std::strerror(errno));
            todo.push_front(name); // now open what was made
            continue;
        }
        return fail(shown + ": " + std::strerror(error));
    }
    return fd;
}

} // namespace

bool GuardedFolder(const struct stat& folder) {
    if (!OwnedByUserOrRoot(folder.st_uid))
        return false;
    return (folder.st_mode & (S_IWGRP | S_IWOTH)) == 0 || (folder.st_mode & S_ISVTX) != 0;
}

SafeFolder::~SafeFolder() {
    Close();
}

SafeFolder::SafeFolder(SafeFolder&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)) {}

SafeFolder& SafeFolder::operator=(SafeFolder&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = std::exchange(other.fd_, -1);
        path_ = std::move(other.path_);
    }
    return *this;
}

void SafeFolder::Close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

bool SafeFolder::Open(const std::string& path, std::string& why, mode_t makeMode) {
    Close();
    path_ = path.empty() ? "." : path;
    const int fd = Walk(path_, makeMode, why);
    if (fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        why = path_ + ": " + std::strerror(errno);
        ::close(fd);
        return false;
    }
    if (!GuardedFolder(st)) {
        why = "the folder " + path_ + " can be changed by other users (owner " +
              std::to_string(st.st_uid) + ", mode " + Octal(st.st_mode) + ")";
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

bool SafeFolder::InsideWorkingFolder() const {
    struct stat work {};
    if (fd_ < 0 || ::stat(".", &work) != 0)
        return false;
    int fd = ::openat(fd_, ".", O_PATH | O_DIRECTORY | O_CLOEXEC);
    // Up through ".." until the working folder or the root; the bound only
    // guards against a file system that never reaches its root.
    for (int depth = 0; fd >= 0 && depth < 4096; ++depth) {
        struct stat here {};
        if (::fstat(fd, &here) != 0)
            break;
        if (here.st_dev == work.st_dev && here.st_ino == work.st_ino) {
            ::close(fd);
            return true;
        }
        const int parent = ::openat(fd, "..", O_PATH | O_DIRECTORY | O_CLOEXEC);
        struct stat up {};
        const bool top = parent < 0 || ::fstat(parent, &up) != 0 ||
                         (up.st_dev == here.st_dev && up.st_ino == here.st_ino);
        ::close(fd);
        fd = parent;
        if (top)
            break;
    }
    if (fd >= 0)
        ::close(fd);
    return false;
}

void SafeFolder::Sync() const {
    const int fd = ::openat(fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        (void)::fsync(fd);
        ::close(fd);
    }
}

} // namespace sentinax
