#include "Companions.h"

#include "LibraryLoader.h"

#include <climits>
#include <dlfcn.h>
#include <unistd.h>

namespace sentinax {

namespace {

constexpr int32_t kPanoraGroup = 1;
constexpr int32_t kPanoraStart = 2;
constexpr int32_t kPanoraStop = 3;
constexpr int32_t kPanoraFlags = 16384;

void Send(MainEntryFn entry, int32_t command, int32_t argument) {
    FrontPanelCommand record{command, argument, 0};
    entry(&record);
}

} // namespace

CompanionLibraries::CompanionLibraries(CompanionPaths paths) : paths_(std::move(paths)) {}

CompanionLibraries::~CompanionLibraries() {
    Stop();
    if (quendraModule_)
        dlclose(quendraModule_);
    if (panoraModule_)
        dlclose(panoraModule_);
}

std::string CompanionLibraries::ProgramDirectory() {
    return OwnLibraryDirectory();
}

void CompanionLibraries::Bind(HostMode hostMode) {
    if (bound_)
        return;
    bound_ = true;
    if (hostMode == HostMode::FrontPanel) {
        quendraModule_ = OpenLibrary(paths_.Quendra);
        if (!quendraModule_)
            return;
        auto entry = reinterpret_cast<MainEntryFn>(dlsym(quendraModule_, "MainEntry"));
        if (!entry)
            return;
        Send(entry, 1, 0);
        Send(entry, 100, 1);
        mainEntry_ = entry;
    } else if (hostMode == HostMode::PanelDisplay) {
        std::string dir =
            paths_.PanoraDirectory.empty() ? ProgramDirectory() : paths_.PanoraDirectory;
        if (dir.empty())
            return;
        std::string path = dir + "/" + kPanoraFileName;
        if (path.size() > kMaxPanoraPath)
            return;
        panoraModule_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!panoraModule_)
            return;
        auto control = reinterpret_cast<PanoraControlFn>(dlsym(panoraModule_, "PanoraControl"));
        if (!control)
            return;
        panoraControl_ = control;
        panoraControl_(kPanoraGroup, kPanoraStart, kPanoraFlags, nullptr);
    }
}

void CompanionLibraries::Stop() {
    if (stopped_)
        return;
    stopped_ = true;
    if (mainEntry_)
        Send(mainEntry_, 101, 1);
    if (panoraControl_)
        panoraControl_(kPanoraGroup, kPanoraStop, kPanoraFlags, nullptr);
}

} // namespace sentinax
