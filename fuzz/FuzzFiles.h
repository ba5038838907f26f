// A private temporary folder for fuzz targets that feed their input through
// real files (the readers under test open files by name). Made once, removed
// when the fuzzer exits. In memory (/dev/shm) where there is such a folder,
// since every run writes files: FUZZ_SCRATCH names another parent folder.
#pragma once

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>

namespace sentinax::fuzz {

inline const std::string& ScratchFolder() {
    static const std::string folder = [] {
        std::error_code error;
        std::filesystem::path parent = "/dev/shm";
        if (const char* chosen = std::getenv("FUZZ_SCRATCH"); chosen && *chosen)
            parent = chosen;
        else if (!std::filesystem::is_directory(parent, error) || ::access("/dev/shm", W_OK) != 0)
            parent = std::filesystem::temp_directory_path();
        std::string pattern = (parent / "sx-fuzz.XXXXXX").string();
        std::string made = ::mkdtemp(pattern.data()) ? pattern : std::string("/tmp");
        static const std::string removeAtExit = made;
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(removeAtExit, ignored);
        });
        return made;
    }();
    return folder;
}

// Writes bytes as the whole content of path (made with its folders).
inline void WriteFile(const std::string& path, std::string_view bytes) {
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
}

// Splits off the text before the first NUL (all of it when there is none).
inline std::string_view TakePart(std::string_view& rest) {
    const std::size_t nul = rest.find('\0');
    const std::string_view part = rest.substr(0, nul);
    rest = nul == std::string_view::npos ? std::string_view() : rest.substr(nul + 1);
    return part;
}

} // namespace sentinax::fuzz
