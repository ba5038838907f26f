#include "hardware/Companions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

using namespace sentinax;

namespace {

// Points HMIO_TRACE at a fresh file for the companions to append to.
class TraceFile {
public:
    TraceFile()
        : path_(std::filesystem::temp_directory_path() /
                ("sx-companion-" + std::to_string(getpid()) + ".trace")) {
        std::filesystem::remove(path_);
        setenv("HMIO_TRACE", path_.c_str(), 1);
    }
    ~TraceFile() {
        unsetenv("HMIO_TRACE");
        std::filesystem::remove(path_);
    }
    std::string Text() const {
        std::ifstream in(path_);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

private:
    std::filesystem::path path_;
};

CompanionPaths BuiltCompanions() {
    return {std::string(SX_RUN_DIR) + "/libquendra.so", SX_RUN_DIR};
}

} // namespace

TEST(Companions, FrontPanelStartAndStopCalls) {
    TraceFile trace;
    {
        CompanionLibraries companions(BuiltCompanions());
        companions.Bind(HostMode::FrontPanel);
        EXPECT_TRUE(companions.QuendraLoaded());
        EXPECT_FALSE(companions.PanoraLoaded());
        ASSERT_NE(companions.MainEntry(), nullptr);
        FrontPanelCommand feed{114, 1, 45};
        companions.MainEntry()(&feed);
        companions.Stop();
        companions.Stop(); // the clean-up may run twice
    }                      // destruction does not stop a third time
    EXPECT_EQ(trace.Text(), "MainEntry(command=1 argument=0 value=0)\n"
                            "MainEntry(command=100 argument=1 value=0)\n"
                            "MainEntry(command=114 argument=1 value=45)\n"
                            "MainEntry(command=101 argument=1 value=0)\n");
}

TEST(Companions, PanelDisplayStartAndStopCalls) {
    TraceFile trace;
    {
        CompanionLibraries companions(BuiltCompanions());
        companions.Bind(HostMode::PanelDisplay);
        EXPECT_TRUE(companions.PanoraLoaded());
        EXPECT_FALSE(companions.QuendraLoaded());
        char colour = 'R';
        companions.PanoraControl()(256, 257, 61, &colour);
    } // destruction stops
    EXPECT_EQ(trace.Text(), "PanoraControl(1, 2, 16384, 0)\n"
                            "PanoraControl(256, 257, 61, R)\n"
                            "PanoraControl(1, 3, 16384, 0)\n");
}

TEST(Companions, NothingIsCalledWithoutALibraryOrHostMode) {
    TraceFile trace;
    struct Case {
        HostMode hostMode;
        CompanionPaths paths;
    } cases[] = {
        {HostMode::None, BuiltCompanions()},
        {static_cast<HostMode>(1), BuiltCompanions()},
        {HostMode::FrontPanel, {"/nonexistent/libquendra.so", SX_RUN_DIR}},
        {HostMode::PanelDisplay, {"libquendra.so", "/nonexistent"}},
        // A library without the entry point: the panel-display one has no MainEntry.
        {HostMode::FrontPanel, {std::string(SX_RUN_DIR) + "/libpanora.so", SX_RUN_DIR}},
    };
    for (const auto& c : cases) {
        CompanionLibraries companions(c.paths);
        companions.Bind(c.hostMode);
        EXPECT_FALSE(companions.QuendraLoaded()) << static_cast<int>(c.hostMode);
        EXPECT_FALSE(companions.PanoraLoaded()) << static_cast<int>(c.hostMode);
        companions.Stop();
    }
    EXPECT_EQ(trace.Text(), "");
}

TEST(Companions, ProgramDirectoryIsWhereThisTestRuns) {
    std::string dir = CompanionLibraries::ProgramDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_TRUE(std::filesystem::exists(dir + "/hardware_tests"));
}
