// An in-memory file tree for the fuzz targets whose code under test reads
// files by name (the board table files, the hardware library's sysfs and DMI
// reading). Writing each input into real files cost most of the time of those
// targets; with the tree an input is a few map insertions.
//
// How the code under test reaches it: those targets are linked with
// `-Wl,--wrap=<call>` for the file calls below (fuzz/CMakeLists.txt), so every
// such call made by the linked objects comes here first. A path under kRoot is
// served from the tree (read only); anything else, and every descriptor or
// folder stream not made here, goes on to the system unchanged (libFuzzer reads
// its corpus through the same calls). The calls served: open, openat, read,
// pread, close, fstat, fstatat, stat, lstat, fcntl, access, faccessat,
// opendir, fdopendir, readdir, closedir, realpath, readlink, readlinkat,
// statfs.
//
// The code under test may come to use a call that is not wrapped (a new
// system call, std::filesystem from the shared C++ library): the tree would
// then go unread and the target fuzz nothing. Targets therefore check on their
// first run that the tree is read (Reads() grows) and abort with a message
// when it is not.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sentinax::fuzz {

class MemoryTree {
public:
    // Paths under this folder are served from memory; it holds nothing else.
    static constexpr std::string_view kRoot = "/sx-memory-tree";

    // Empties the tree (descriptors still open read as empty files). Targets
    // clear it at the end of each input (OneInput), so that what one input
    // allocates is freed within the same run: libFuzzer takes a run that ends
    // with more allocations than frees for a possible leak and checks it, at
    // great cost.
    static void Clear();
    // Adds a regular file at path (absolute, under kRoot) with its folders.
    static void AddFile(const std::string& path, std::string_view bytes);
    // Adds an empty folder.
    static void AddFolder(const std::string& path);
    // How many calls the tree has answered since the start.
    static std::size_t Reads();

    // Holds the tree for one input and empties it at the end.
    struct OneInput {
        OneInput() { Clear(); }
        ~OneInput() { Clear(); }
        OneInput(const OneInput&) = delete;
        OneInput& operator=(const OneInput&) = delete;
    };
};

} // namespace sentinax::fuzz
