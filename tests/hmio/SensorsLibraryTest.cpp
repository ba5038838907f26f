// libsensors with configuration files of our choosing: a file with a syntax
// error is left out and reported once with its file and line; the other
// files still count.
#include "SensorsLibrary.h"
#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using namespace hmio;

class SensorsLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(dir_.empty());
        fs::create_directories(dir_ / "sensors.d");
    }
    void Write(const std::string& name, const std::string& text) {
        std::ofstream(dir_ / name) << text;
    }
    SensorsConfigPaths Paths() const {
        return {(dir_ / "sensors3.conf").string(), (dir_ / "sensors.conf").string(),
                (dir_ / "sensors.d").string()};
    }
    sentinax::test::ScratchFolder scratch_{"sensors-config"};
    fs::path dir_ = scratch_.Path();
};

TEST_F(SensorsLibraryTest, BrokenFileIsLeftOutAndSaidOnce) {
    Write("sensors3.conf", "chip \"nct6798-*\"\n    label in1 \"+12V\"\n");
    Write("sensors.d/a-good.conf", "chip \"it8686-*\"\n    compute in2 @*6, @/6\n");
    Write("sensors.d/b-bad.conf", "chip \"k10temp-*\"\n    lable temp1 \"CPU\"\n");
    Write("sensors.d/.hidden", "this is not read\n");
    SensorsLibrary library(Paths());
    std::vector<std::string> messages;
    ASSERT_TRUE(library.Init(messages));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind((dir_ / "sensors.d/b-bad.conf:2: ").string(), 0), 0u)
        << messages[0];
    EXPECT_NE(messages[0].find("going on without this file"), std::string::npos);
    const std::vector<std::string> used = {(dir_ / "sensors3.conf").string(),
                                           (dir_ / "sensors.d/a-good.conf").string()};
    EXPECT_EQ(library.ConfigFiles(), used);
    ASSERT_EQ(library.BrokenFiles().size(), 1u);

    // Found again on a rescan: still left out, not said again.
    messages.clear();
    ASSERT_TRUE(library.Init(messages));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(library.ConfigFiles(), used);
}

TEST_F(SensorsLibraryTest, OldMainFileIsReadWhenTheNewOneIsMissing) {
    Write("sensors.conf", "chip \"nct6798-*\"\n    ignore in5\n");
    SensorsLibrary library(Paths());
    std::vector<std::string> messages;
    ASSERT_TRUE(library.Init(messages));
    EXPECT_TRUE(messages.empty());
    ASSERT_EQ(library.ConfigFiles().size(), 1u);
    EXPECT_EQ(library.ConfigFiles()[0], (dir_ / "sensors.conf").string());
}

TEST_F(SensorsLibraryTest, NoConfigurationAtAll) {
    SensorsLibrary library(Paths());
    std::vector<std::string> messages;
    ASSERT_TRUE(library.Init(messages));
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(library.ConfigFiles().empty());
    EXPECT_TRUE(library.Usable());
}

} // namespace
