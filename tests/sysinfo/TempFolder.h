// A temporary folder removed with the test, and helpers to fill it with
// files, links and folders by relative path.
#pragma once

#include "ScratchFolder.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace sentinax::testing {

class TempFolder {
public:
    const std::string& Dir() const { return dir_; }
    std::string Path(const std::string& relative) const { return dir_ + "/" + relative; }

    // Writes a file, making its folders.
    void Write(const std::string& relative, const std::string& bytes) const {
        const std::filesystem::path path = Path(relative);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    void Folder(const std::string& relative) const {
        std::filesystem::create_directories(Path(relative));
    }
    // A symbolic link at relative pointing to target (as written).
    void Link(const std::string& relative, const std::string& target) const {
        const std::filesystem::path path = Path(relative);
        std::filesystem::create_directories(path.parent_path());
        std::filesystem::create_symlink(target, path);
    }
    std::string Read(const std::string& relative) const {
        return sentinax::test::ReadFile(Path(relative));
    }
    bool Exists(const std::string& relative) const {
        return std::filesystem::exists(std::filesystem::symlink_status(Path(relative)));
    }

private:
    sentinax::test::ScratchFolder scratch_{"sxinv"};
    std::string dir_ = scratch_.Path().string();
};

} // namespace sentinax::testing
