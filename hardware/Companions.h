// The companion library of the board's host mode: loading, the start calls and
// the stop calls. The per-tick front-panel feed uses the resolved entry points.
#pragma once

#include "HostMode.h"
#include "alerts/companions/FrontPanelCommand.h"

#include <string>

namespace sentinax {

// Where the companions are looked for. The front-panel one is loaded by plain
// name (the program's RPATH and the normal search path apply); the
// panel-display one only from one directory, empty meaning the directory of
// the running program.
struct CompanionPaths {
    std::string Quendra = "libquendra.so";
    std::string PanoraDirectory;
};

inline constexpr const char* kPanoraFileName = "libpanora.so";
// Longest path tried for the panel-display library; a longer one is not loaded.
inline constexpr size_t kMaxPanoraPath = 4095;

class CompanionLibraries {
public:
    explicit CompanionLibraries(CompanionPaths paths = {});
    ~CompanionLibraries(); // runs Stop(), then unloads
    CompanionLibraries(const CompanionLibraries&) = delete;
    CompanionLibraries& operator=(const CompanionLibraries&) = delete;

    // Host mode 2: load the front-panel companion; if it has MainEntry, send
    // {1, 0, 0} then {100, 1, 0}. Host mode 3: load the panel-display companion;
    // if it has PanoraControl, call it with (1, 2, 16384, null). Any other mode,
    // a missing library or a missing entry point: nothing is called. Binding a
    // second time does nothing.
    void Bind(HostMode hostMode);

    // The stop calls: MainEntry {101, 1, 0}; PanoraControl (1, 3, 16384, null).
    // A second Stop does nothing; the clean-up may run twice.
    void Stop();

    bool QuendraLoaded() const { return mainEntry_ != nullptr; }
    bool PanoraLoaded() const { return panoraControl_ != nullptr; }
    // Null when not loaded.
    MainEntryFn MainEntry() const { return mainEntry_; }
    PanoraControlFn PanoraControl() const { return panoraControl_; }

    // The folder of the program's own libraries, where libpanora.so is
    // looked for (OwnLibraryDirectory); empty when unknown.
    static std::string ProgramDirectory();

private:
    CompanionPaths paths_;
    void* quendraModule_ = nullptr;
    void* panoraModule_ = nullptr;
    MainEntryFn mainEntry_ = nullptr;
    PanoraControlFn panoraControl_ = nullptr;
    bool bound_ = false;
    bool stopped_ = false;
};

} // namespace sentinax
