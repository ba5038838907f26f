// A temporary folder, the library's environment variables and a fresh library
// state for every test.
#pragma once

#include "Library.h"
#include "ScratchFolder.h"
#include "hmio.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace hmio_test {

namespace fs = std::filesystem;

class HmioFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(dir_.empty());
        ClearEnvironment();
    }
    void TearDown() override { ClearEnvironment(); }
    static void ClearEnvironment() {
        for (const char* name :
             {"HMIO_SCENARIO", "HMIO_SYSFS_ROOT", "HMIO_TRACE", "HMIO_CHANNEL_MAP"})
            ::unsetenv(name);
        hmio::ResetInstance();
    }
    // Writes a file below the temporary folder, making its folders.
    std::string Write(const std::string& relative, const std::string& content) {
        const fs::path path = dir_ / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
        return path.string();
    }
    std::string Read(const std::string& relative) const {
        std::ifstream in(dir_ / relative, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void UseScenario(const std::string& text) {
        ::setenv("HMIO_SCENARIO", Write("test.scenario", text).c_str(), 1);
        hmio::ResetInstance();
    }
    void UseSysfsRoot() {
        ::setenv("HMIO_SYSFS_ROOT", (dir_ / "root").c_str(), 1);
        hmio::ResetInstance();
    }
    std::string TraceOn() {
        const std::string path = (dir_ / "trace.log").string();
        ::setenv("HMIO_TRACE", path.c_str(), 1);
        hmio::ResetInstance();
        return path;
    }
    std::vector<std::string> TraceLines() const {
        std::vector<std::string> lines;
        std::istringstream text(Read("trace.log"));
        for (std::string line; std::getline(text, line);)
            lines.push_back(line);
        return lines;
    }

    sentinax::test::ScratchFolder scratch_{"hmio-test"};
    fs::path dir_ = scratch_.Path();
};

} // namespace hmio_test
