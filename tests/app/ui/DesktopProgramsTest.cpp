// Programs started by the monitor run detached, get their arguments as they
// are (no shell), and inherit no descriptor but the standard three.
#include "app/DesktopPrograms.h"
#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace sentinax {
namespace {

namespace fs = std::filesystem;

std::string WaitForFile(const fs::path& path) {
    for (int i = 0; i < 100; ++i) {
        std::ifstream in(path);
        std::string text((std::istreambuf_iterator<char>(in)), {});
        if (!text.empty() && text.back() == '\n')
            return text;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return "";
}

TEST(DesktopPrograms, StartedDetachedWithOnlyTheStandardDescriptors) {
    const sentinax::test::ScratchFolder scratch("sx-programs");
    const fs::path& dir = scratch.Path();
    const fs::path script = dir / "probe";
    std::ofstream(script) << "#!/bin/sh\n"
                             "if [ -e /proc/$$/fd/200 ]; then state=leaked; else state=clean; fi\n"
                             "printf '%s|%s\\n' \"$state\" \"$1\" > \"" +
                                 (dir / "out").string() +
                                 ".tmp\"\n"
                                 "mv \"" +
                                 (dir / "out").string() + ".tmp\" \"" + (dir / "out").string() +
                                 "\"\n";
    ::chmod(script.c_str(), 0755);
    // A descriptor the monitor holds without close-on-exec.
    const int held = ::open("/dev/null", O_RDONLY);
    ASSERT_GE(::dup2(held, 200), 0);

    EXPECT_TRUE(StartDetached({script.string(), "a b; rm -rf /tmp/nothing $(id)"}));
    EXPECT_EQ(WaitForFile(dir / "out"), "clean|a b; rm -rf /tmp/nothing $(id)\n");
    EXPECT_FALSE(StartDetached({(dir / "missing").string()}));
    EXPECT_FALSE(StartDetached({}));

    ::close(200);
    ::close(held);
}

} // namespace
} // namespace sentinax
