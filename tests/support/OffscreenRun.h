// Set up before a widget test binary's application object: the offscreen
// platform (test discovery runs the binary at build time, with no display),
// and, where the session has no runtime folder, one of Qt's own in a scratch
// folder that goes with the run instead of a /tmp/runtime-<user> left behind.
#pragma once

#include "ScratchFolder.h"

#include <cstdlib>
#include <optional>

namespace sentinax::test {

class OffscreenRun {
public:
    OffscreenRun() {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        if (std::getenv("XDG_RUNTIME_DIR"))
            return;
        runtime_.emplace("sx-test-runtime");
        if (!runtime_->Path().empty())
            setenv("XDG_RUNTIME_DIR", runtime_->Path().c_str(), 1);
    }
    ~OffscreenRun() {
        if (runtime_)
            unsetenv("XDG_RUNTIME_DIR");
    }
    OffscreenRun(const OffscreenRun&) = delete;
    OffscreenRun& operator=(const OffscreenRun&) = delete;

private:
    std::optional<ScratchFolder> runtime_;
};

} // namespace sentinax::test
