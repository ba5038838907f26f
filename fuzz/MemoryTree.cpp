#include "MemoryTree.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>
#include <unordered_map>
#include <vector>

// The system's calls, reached through the linker's --wrap.
extern "C" {
int __real_open(const char* path, int flags, ...);
int __real_openat(int dirfd, const char* path, int flags, ...);
ssize_t __real_read(int fd, void* buffer, size_t size);
ssize_t __real_pread(int fd, void* buffer, size_t size, off_t offset);
int __real_close(int fd);
int __real_fstat(int fd, struct stat* st);
int __real_fstatat(int dirfd, const char* path, struct stat* st, int flags);
int __real_stat(const char* path, struct stat* st);
int __real_lstat(const char* path, struct stat* st);
int __real_fcntl(int fd, int command, ...);
int __real_access(const char* path, int mode);
int __real_faccessat(int dirfd, const char* path, int mode, int flags);
DIR* __real_opendir(const char* path);
DIR* __real_fdopendir(int fd);
struct dirent* __real_readdir(DIR* dir);
int __real_closedir(DIR* dir);
char* __real_realpath(const char* path, char* resolved);
ssize_t __real_readlink(const char* path, char* buffer, size_t size);
ssize_t __real_readlinkat(int dirfd, const char* path, char* buffer, size_t size);
int __real_statfs(const char* path, struct statfs* buffer);
}

namespace sentinax::fuzz {

namespace {

// Descriptors of the tree start far above any the system hands out here.
constexpr int kFirstFd = 1 << 24;

struct Node {
    bool Folder = false;
    std::string Bytes;
    std::vector<std::string> Children; // of a folder, in the order they were added
};

// Byte loops rather than memcmp, strncmp and memchr: the sanitizers intercept
// those and report every call to the fuzzer as a comparison worth steering
// inputs by, which cost the tree as much time as the code under test.
bool SameBytes(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = a.size(); i-- > 0;)
        if (a[i] != b[i])
            return false;
    return true;
}

// Lookups by string_view, so that a path is not copied to be looked up.
struct PathHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view path) const {
        std::size_t hash = 14695981039346656037u; // FNV-1a
        for (unsigned char c : path)
            hash = (hash ^ c) * 1099511628211u;
        return hash;
    }
};
struct PathEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return SameBytes(a, b); }
};
using NodeMap = std::unordered_map<std::string, Node, PathHash, PathEqual>;

struct OpenFile {
    std::string_view Path; // the node's key, valid while Generation is current
    const Node* Target = nullptr;
    std::size_t Generation = 0;
    off_t Offset = 0;
};

struct Stream {
    std::vector<std::pair<std::string, bool>> Entries; // name, is a folder
    std::size_t Next = 0;
    dirent Entry{};
};

struct State {
    NodeMap Nodes;
    std::unordered_map<int, OpenFile> Files;
    std::set<const void*> Streams;
    std::size_t Generation = 0; // a Clear() makes every open node stale
    int NextFd = kFirstFd;
    std::size_t Reads = 0;
};

State& Tree() {
    static State state;
    return state;
}

// "/a//b/./c/" -> "/a/b/c"; ".." drops the previous component.
std::string Normal(std::string_view path) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string_view::npos)
            end = path.size();
        const std::string_view part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string out;
    for (std::string_view part : parts)
        out.append("/").append(part);
    return out.empty() ? "/" : out;
}

// path itself when it is normal already (most are built so), else its normal
// form kept in storage.
std::string_view Normalized(std::string_view path, std::string& storage) {
    bool plain = !path.empty() && path[0] == '/';
    for (std::size_t i = 0; plain && i + 1 < path.size(); ++i)
        plain = path[i] != '/' || (path[i + 1] != '/' && path[i + 1] != '.');
    if (plain && path.size() > 1 && path.back() == '/')
        path.remove_suffix(1); // a folder named with its slash
    if (plain)
        return path;
    storage = Normal(path);
    return storage;
}

bool Under(const char* path) {
    if (path == nullptr)
        return false;
    const std::string_view root = MemoryTree::kRoot;
    std::size_t i = 0;
    for (; i < root.size(); ++i)
        if (path[i] != root[i]) // a shorter path stops at its NUL
            return false;
    return path[i] == '/' || path[i] == '\0';
}

const Node* Find(std::string_view path) {
    const auto it = Tree().Nodes.find(path);
    return it == Tree().Nodes.end() ? nullptr : &it->second;
}

// The tree's node of an open descriptor, null when the tree was cleared since.
const Node* Current(const OpenFile& file) {
    return file.Generation == Tree().Generation ? file.Target : nullptr;
}

// The tree's path for dirfd + path when it names a place in the tree.
bool Resolve(int dirfd, const char* path, std::string& storage, std::string_view& out) {
    if (path == nullptr)
        return false;
    if (path[0] == '/') {
        if (!Under(path))
            return false;
        out = Normalized(path, storage);
        return true;
    }
    const auto it = Tree().Files.find(dirfd);
    if (it == Tree().Files.end())
        return false;
    const std::string folder = Current(it->second) ? std::string(it->second.Path) : "/";
    storage = Normal(folder + "/" + path);
    out = storage;
    return true;
}

int Fail(int error) {
    errno = error;
    return -1;
}

void Fill(const Node& node, struct stat* st) {
    std::memset(st, 0, sizeof *st);
    st->st_mode = node.Folder ? (S_IFDIR | 0555) : (S_IFREG | 0444);
    st->st_size = static_cast<off_t>(node.Bytes.size());
    st->st_nlink = 1;
    st->st_ino = std::hash<const void*>()(&node);
}

int Open(std::string_view path, int flags) {
    ++Tree().Reads;
    const auto it = Tree().Nodes.find(path);
    if (it == Tree().Nodes.end())
        return Fail((flags & O_CREAT) ? EROFS : ENOENT);
    const Node& node = it->second;
    if ((flags & O_ACCMODE) != O_RDONLY || (flags & (O_CREAT | O_TRUNC)))
        return Fail(node.Folder ? EISDIR : EROFS);
    if ((flags & O_DIRECTORY) && !node.Folder)
        return Fail(ENOTDIR);
    const int fd = Tree().NextFd++;
    Tree().Files[fd] = {it->first, &node, Tree().Generation, 0};
    return fd;
}

int Stat(std::string_view path, struct stat* st) {
    ++Tree().Reads;
    const Node* node = Find(path);
    if (node == nullptr)
        return Fail(ENOENT);
    Fill(*node, st);
    return 0;
}

DIR* OpenStream(std::string_view path) {
    ++Tree().Reads;
    const Node* node = Find(path);
    if (node == nullptr || !node->Folder) {
        errno = node == nullptr ? ENOENT : ENOTDIR;
        return nullptr;
    }
    auto* stream = new Stream;
    stream->Entries = {{".", true}, {"..", true}};
    std::string child(path);
    for (const std::string& name : node->Children) {
        child.resize(path.size());
        child.append("/").append(name);
        const Node* found = Find(child);
        stream->Entries.emplace_back(name, found != nullptr && found->Folder);
    }
    Tree().Streams.insert(stream);
    return reinterpret_cast<DIR*>(stream);
}

} // namespace

void MemoryTree::Clear() {
    Tree().Nodes.clear();
    ++Tree().Generation;
}

void MemoryTree::AddFolder(const std::string& path) {
    // The folders missing on the way, innermost first.
    std::vector<std::string> missing;
    for (std::string folder = Normal(path); folder.size() > 1 && Tree().Nodes.count(folder) == 0;
         folder.resize(std::max<std::size_t>(folder.rfind('/'), 1)))
        missing.push_back(folder);
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        Tree().Nodes[*it].Folder = true;
        const std::size_t slash = it->rfind('/');
        if (slash > 0)
            Tree()
                .Nodes.find(std::string_view(*it).substr(0, slash))
                ->second.Children.push_back(it->substr(slash + 1));
    }
}

void MemoryTree::AddFile(const std::string& path, std::string_view bytes) {
    std::string storage;
    const std::string normal(Normalized(path, storage));
    const std::size_t slash = normal.rfind('/');
    const std::string_view folder =
        std::string_view(normal).substr(0, std::max<std::size_t>(slash, 1));
    if (Tree().Nodes.find(folder) == Tree().Nodes.end())
        AddFolder(std::string(folder));
    const auto [it, added] = Tree().Nodes.try_emplace(normal);
    Node& node = it->second; // element references outlive a rehash, iterators do not
    node.Folder = false;
    node.Bytes.assign(bytes);
    if (added)
        Tree().Nodes.find(folder)->second.Children.push_back(normal.substr(slash + 1));
}

std::size_t MemoryTree::Reads() {
    return Tree().Reads;
}

} // namespace sentinax::fuzz

using sentinax::fuzz::Tree;
namespace tree = sentinax::fuzz;

extern "C" {

int __wrap_open(const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? va_arg(args, mode_t) : 0;
    va_end(args);
    std::string storage;
    if (tree::Under(path))
        return tree::Open(tree::Normalized(path, storage), flags);
    return __real_open(path, flags, mode);
}

int __wrap_openat(int dirfd, const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? va_arg(args, mode_t) : 0;
    va_end(args);
    std::string storage;
    std::string_view at;
    if (tree::Resolve(dirfd, path, storage, at))
        return tree::Open(at, flags);
    return __real_openat(dirfd, path, flags, mode);
}

ssize_t __wrap_pread(int fd, void* buffer, size_t size, off_t offset) {
    const auto it = Tree().Files.find(fd);
    if (it == Tree().Files.end())
        return __real_pread(fd, buffer, size, offset);
    ++Tree().Reads;
    const tree::Node* node = tree::Current(it->second);
    if (node != nullptr && node->Folder)
        return tree::Fail(EISDIR);
    if (offset < 0)
        return tree::Fail(EINVAL);
    // A file of a cleared tree reads as empty.
    if (node == nullptr || static_cast<std::size_t>(offset) >= node->Bytes.size())
        return 0;
    const std::size_t n = std::min(size, node->Bytes.size() - static_cast<std::size_t>(offset));
    std::memcpy(buffer, node->Bytes.data() + offset, n);
    return static_cast<ssize_t>(n);
}

ssize_t __wrap_read(int fd, void* buffer, size_t size) {
    const auto it = Tree().Files.find(fd);
    if (it == Tree().Files.end())
        return __real_read(fd, buffer, size);
    const ssize_t n = __wrap_pread(fd, buffer, size, it->second.Offset);
    if (n > 0)
        it->second.Offset += n;
    return n;
}

int __wrap_close(int fd) {
    if (Tree().Files.erase(fd) == 0)
        return __real_close(fd);
    return 0;
}

int __wrap_fstat(int fd, struct stat* st) {
    const auto it = Tree().Files.find(fd);
    if (it == Tree().Files.end())
        return __real_fstat(fd, st);
    ++Tree().Reads;
    const tree::Node* node = tree::Current(it->second);
    if (node == nullptr) {
        const tree::Node empty;
        tree::Fill(empty, st);
    } else {
        tree::Fill(*node, st);
    }
    return 0;
}

int __wrap_fstatat(int dirfd, const char* path, struct stat* st, int flags) {
    if ((flags & AT_EMPTY_PATH) && path != nullptr && path[0] == '\0')
        return __wrap_fstat(dirfd, st);
    std::string storage;
    std::string_view at;
    if (tree::Resolve(dirfd, path, storage, at))
        return tree::Stat(at, st);
    return __real_fstatat(dirfd, path, st, flags);
}

int __wrap_stat(const char* path, struct stat* st) {
    std::string storage;
    return tree::Under(path) ? tree::Stat(tree::Normalized(path, storage), st)
                             : __real_stat(path, st);
}

int __wrap_lstat(const char* path, struct stat* st) {
    std::string storage;
    return tree::Under(path) ? tree::Stat(tree::Normalized(path, storage), st)
                             : __real_lstat(path, st);
}

int __wrap_fcntl(int fd, int command, ...) {
    va_list args;
    va_start(args, command);
    void* argument = va_arg(args, void*);
    va_end(args);
    if (Tree().Files.count(fd) == 0)
        return __real_fcntl(fd, command, argument);
    return command == F_GETFL ? O_RDONLY : 0;
}

int __wrap_access(const char* path, int mode) {
    if (!tree::Under(path))
        return __real_access(path, mode);
    std::string storage;
    struct stat st {};
    if (tree::Stat(tree::Normalized(path, storage), &st) != 0)
        return -1;
    return (mode & W_OK) ? tree::Fail(EROFS) : 0;
}

int __wrap_faccessat(int dirfd, const char* path, int mode, int flags) {
    std::string storage;
    std::string_view at;
    if (!tree::Resolve(dirfd, path, storage, at))
        return __real_faccessat(dirfd, path, mode, flags);
    struct stat st {};
    if (tree::Stat(at, &st) != 0)
        return -1;
    return (mode & W_OK) ? tree::Fail(EROFS) : 0;
}

DIR* __wrap_opendir(const char* path) {
    std::string storage;
    return tree::Under(path) ? tree::OpenStream(tree::Normalized(path, storage))
                             : __real_opendir(path);
}

DIR* __wrap_fdopendir(int fd) {
    const auto it = Tree().Files.find(fd);
    if (it == Tree().Files.end())
        return __real_fdopendir(fd);
    const std::string path = tree::Current(it->second) ? std::string(it->second.Path) : "";
    Tree().Files.erase(it); // the stream owns the descriptor from now on
    return tree::OpenStream(path);
}

struct dirent* __wrap_readdir(DIR* dir) {
    if (Tree().Streams.count(dir) == 0)
        return __real_readdir(dir);
    ++Tree().Reads;
    auto* stream = reinterpret_cast<tree::Stream*>(dir);
    if (stream->Next >= stream->Entries.size())
        return nullptr;
    const auto& [name, folder] = stream->Entries[stream->Next++];
    std::memset(&stream->Entry, 0, sizeof stream->Entry);
    stream->Entry.d_ino = stream->Next;
    stream->Entry.d_type = folder ? DT_DIR : DT_REG;
    std::strncpy(stream->Entry.d_name, name.c_str(), sizeof stream->Entry.d_name - 1);
    return &stream->Entry;
}

int __wrap_closedir(DIR* dir) {
    if (Tree().Streams.erase(dir) == 0)
        return __real_closedir(dir);
    delete reinterpret_cast<tree::Stream*>(dir);
    return 0;
}

char* __wrap_realpath(const char* path, char* resolved) {
    if (!tree::Under(path))
        return __real_realpath(path, resolved);
    std::string storage;
    const std::string_view normal = tree::Normalized(path, storage);
    struct stat st {};
    if (tree::Stat(normal, &st) != 0 || normal.size() >= PATH_MAX)
        return nullptr;
    char* out = resolved ? resolved : static_cast<char*>(std::malloc(PATH_MAX));
    std::memcpy(out, normal.data(), normal.size());
    out[normal.size()] = '\0';
    return out;
}

// The tree holds no links.
ssize_t __wrap_readlink(const char* path, char* buffer, size_t size) {
    if (!tree::Under(path))
        return __real_readlink(path, buffer, size);
    std::string storage;
    struct stat st {};
    return tree::Stat(tree::Normalized(path, storage), &st) == 0 ? tree::Fail(EINVAL) : -1;
}

ssize_t __wrap_readlinkat(int dirfd, const char* path, char* buffer, size_t size) {
    std::string storage;
    std::string_view at;
    if (!tree::Resolve(dirfd, path, storage, at))
        return __real_readlinkat(dirfd, path, buffer, size);
    struct stat st {};
    return tree::Stat(at, &st) == 0 ? tree::Fail(EINVAL) : -1;
}

// The tree is a file system of its own kind, never sysfs.
int __wrap_statfs(const char* path, struct statfs* buffer) {
    if (!tree::Under(path))
        return __real_statfs(path, buffer);
    std::string storage;
    struct stat st {};
    if (tree::Stat(tree::Normalized(path, storage), &st) != 0)
        return -1;
    std::memset(buffer, 0, sizeof *buffer);
    buffer->f_type = 0x01021994; // as tmpfs, where test trees live
    return 0;
}

} // extern "C"
