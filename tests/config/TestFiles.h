// Temporary folders and whole-file reads for the tests of this folder.
#pragma once

#include "ScratchFolder.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace sentinax::testing {

class TempDir {
public:
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    const std::string& Path() const { return path_; }

private:
    sentinax::test::ScratchFolder scratch_{"sxcfg"};
    std::string path_ = scratch_.Path().string();
};

// Works in dir for the life of the object (the working folder decides where
// a link under the skin file's name may lead).
using sentinax::test::InFolder;

inline std::string ReadBytes(const std::string& path) {
    return sentinax::test::ReadFile(path);
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string Fixture(const std::string& name) {
    return ReadBytes(std::string(SX_CONFIG_FIXTURES) + "/" + name);
}

} // namespace sentinax::testing
