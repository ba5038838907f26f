#include "Library.h"

#include "BoardWiring.h"
#include "ChannelMap.h"
#include "Scenario.h"
#include "SimulatorBackend.h"
#include "SysfsBackend.h"
#include "TextParse.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

namespace hmio {

namespace {

constexpr uint16_t kEcDataPort = 0x62;
constexpr uint16_t kEcStatusPort = 0x66;
constexpr char kChannelMapName[] = "hwmon-channels.map";
constexpr char kWiringName[] = "board-wiring.table";

std::string Hex(const uint8_t* bytes, size_t count) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
    }
    return text;
}

std::string HexNumber(uint32_t value, int width) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*x", width, value);
    return text;
}

const char* Env(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

// The folder of this library file (or of the program it is linked into).
std::string OwnFolder() {
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&OwnFolder), &info) || !info.dli_fname)
        return {};
    const std::string path = info.dli_fname;
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// HMIO_CHANNEL_MAP, else hwmon-channels.map beside the library or in the
// installed data folder, else the copy built into the library.
ChannelMap LoadChannelMap(std::string& name) {
    std::optional<std::string> text;
    if (const char* path = Env("HMIO_CHANNEL_MAP")) {
        name = path;
        text = ReadWholeFile(name);
        if (!text)
            ReportErrors({name + ": cannot read the channel map; using the built-in one"});
    } else {
        // Beside the library (the build's run folder), else in the installed
        // data folder (<prefix>/lib/sentinax/ -> <prefix>/share/sentinax/).
        const std::string folder = OwnFolder();
        for (const char* relative : {"", "../../share/sentinax/"}) {
            if (folder.empty() || text)
                break;
            name = folder + relative + kChannelMapName;
            text = ReadWholeFile(name);
        }
    }
    if (!text) {
        name = std::string("<built-in ") + kChannelMapName + ">";
        text = std::string(BuiltinChannelMapText());
    }
    ParseErrors errors;
    ChannelMap map = ParseChannelMap(*text, name, errors);
    ReportErrors(errors);
    return map;
}

// The user's wiring rows ($XDG_CONFIG_HOME/sentinax/board-wiring.table, else
// ~/.config/sentinax/...), then the shipped ones (HMIO_BOARD_WIRING, else
// board-wiring.table beside the library or in the installed data folder).
// File errors become the engine's first notices.
BoardWiring LoadWiring(std::vector<std::string>& notices) {
    BoardWiring wiring;
    std::string user;
    if (const char* config = Env("XDG_CONFIG_HOME"); config && config[0] == '/')
        user = std::string(config) + "/sentinax/" + kWiringName;
    else if (const char* home = Env("HOME"); home && home[0] == '/')
        user = std::string(home) + "/.config/sentinax/" + kWiringName;
    std::vector<std::pair<std::string, bool>> files; // name, must exist
    if (!user.empty())
        files.emplace_back(user, false);
    if (const char* path = Env("HMIO_BOARD_WIRING")) {
        files.emplace_back(path, true);
    } else {
        const std::string folder = OwnFolder();
        for (const char* relative : {"", "../../share/sentinax/"}) {
            const std::string name = folder + relative + kWiringName;
            if (!folder.empty() && ReadWholeFile(name, 1)) {
                files.emplace_back(name, true);
                break;
            }
        }
    }
    for (const auto& [name, required] : files) {
        const auto text = ReadWholeFile(name);
        if (!text) {
            if (required || ::access(name.c_str(), F_OK) == 0)
                notices.push_back(name + ": cannot read the board wiring file (not a readable "
                                         "regular file)");
            continue;
        }
        ParseErrors errors;
        ParseBoardWiring(*text, name, wiring, errors);
        notices.insert(notices.end(), errors.begin(), errors.end());
    }
    return wiring;
}

std::unique_ptr<Backend> MakeBackend() {
    if (const char* file = Env("HMIO_SCENARIO")) {
        const auto text = ReadWholeFile(file);
        ParseErrors errors;
        if (!text)
            errors.push_back(std::string(file) + ": cannot read the scenario");
        Scenario scenario = ParseScenario(text.value_or(""), file, errors);
        ReportErrors(errors);
        return std::make_unique<SimulatorBackend>(std::move(scenario));
    }
    const char* root = Env("HMIO_SYSFS_ROOT");
    HwmonOptions options;
    options.Root = root ? root : "/";
    // libsensors reads the real /sys only.
    options.UseLibsensors = options.Root == "/";
    options.Map = LoadChannelMap(options.MapName);
    options.Wiring = LoadWiring(options.EarlyNotices);
    return std::make_unique<SysfsBackend>(std::move(options));
}

std::mutex gMutex;
std::unique_ptr<Library> gLibrary;

} // namespace

Library::Library(std::unique_ptr<Backend> backend, int traceFd)
    : backend_(std::move(backend)), traceFd_(traceFd) {}

Library::~Library() {
    if (traceFd_ >= 0)
        ::close(traceFd_);
}

std::unique_ptr<Library> Library::FromEnvironment() {
    int traceFd = -1;
    if (const char* trace = Env("HMIO_TRACE")) {
        traceFd = ::open(trace, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
        if (traceFd < 0)
            ReportErrors({std::string(trace) + ": cannot open the trace file"});
    }
    return std::make_unique<Library>(MakeBackend(), traceFd);
}

// One write() per line: with O_APPEND, lines of several processes never mix.
void Library::Trace(const std::string& line) const {
    const std::string whole = line + "\n";
    (void)!::write(traceFd_, whole.data(), whole.size());
}

uint32_t Library::GetVid() {
    const uint32_t vid = backend_->GetVid();
    if (Tracing())
        Trace("GetVid() -> " + HexNumber(vid, 4));
    return vid;
}

uint8_t Library::DetectLM78() {
    const uint8_t answer = backend_->DetectLM78();
    if (Tracing())
        Trace("DetectLM78() -> " + std::to_string(answer));
    return answer;
}

uint8_t Library::DetectLM75(uint8_t* chipParams, uint8_t selector) {
    if (!chipParams)
        return 0;
    std::string before;
    if (Tracing())
        before = Hex(chipParams, 8);
    const uint8_t answer = backend_->DetectLM75(chipParams, selector);
    if (Tracing())
        Trace("DetectLM75(params=" + before + " selector=" + std::to_string(selector) + ") -> " +
              std::to_string(answer) + " params=" + Hex(chipParams, 8));
    return answer;
}

void Library::EnableSMSCHWMonitor() {
    backend_->EnableSMSCHWMonitor();
    if (Tracing())
        Trace("EnableSMSCHWMonitor()");
}

void Library::ApEnableATIISA() {
    backend_->ApEnableATIISA();
    if (Tracing())
        Trace("ApEnableATIISA()");
}

void Library::ValueRAM(int32_t* rawValues) {
    if (!rawValues)
        return;
    const int32_t command = rawValues[7];
    const uint32_t written = backend_->ValueRAM(rawValues);
    if (!Tracing())
        return;
    std::string line = "ValueRAM(raw7=" + std::to_string(command) + ") -> slots";
    if (written == 0)
        line += " none";
    for (int i = 0; i < 30; ++i) {
        if (written & (1u << i))
            line += " " + std::to_string(i) + "=" + std::to_string(rawValues[i]);
    }
    Trace(line);
}

uint32_t Library::LoadNTHMIO() {
    const uint32_t loaded = backend_->LoadNTHMIO();
    if (Tracing())
        Trace("LoadNTHMIO() -> " + std::to_string(loaded));
    return loaded;
}

void Library::UnloadNTHMIO() {
    backend_->UnloadNTHMIO();
    if (Tracing())
        Trace("UnloadNTHMIO()");
}

uint32_t Library::GetDMILength(uint8_t* entryPoint) {
    if (!entryPoint)
        return 0;
    DmiData dmi = backend_->ReadDmi();
    dmiTable_ = std::move(dmi.Table);
    const auto length = static_cast<uint32_t>(dmiTable_.size());
    if (length > 0)
        std::memcpy(entryPoint, dmi.EntryPoint.data(), dmi.EntryPoint.size());
    if (Tracing())
        Trace("GetDMILength() -> " + std::to_string(length) +
              (length > 0 ? " entry=" + Hex(entryPoint, dmi.EntryPoint.size()) : ""));
    return length;
}

void Library::GetDMIData(uint8_t* buffer) {
    if (buffer && !dmiTable_.empty())
        std::memcpy(buffer, dmiTable_.data(), dmiTable_.size());
    if (Tracing())
        Trace("GetDMIData(length=" + std::to_string(dmiTable_.size()) + ")");
}

// Only the embedded controller's two ports are reachable: a caller must never
// be able to poke arbitrary I/O ports through this library.
uint32_t Library::ReadPort(uint16_t port) {
    const bool allowed = port == kEcDataPort || port == kEcStatusPort;
    const uint8_t value = allowed ? backend_->ReadPort(port) : 0;
    if (Tracing())
        Trace("ReadPort(port=" + HexNumber(port, 2) + ") -> " + HexNumber(value, 2) +
              (allowed ? "" : " refused"));
    return value;
}

void Library::WritePort(uint16_t port, uint8_t value) {
    const bool allowed = port == kEcDataPort || port == kEcStatusPort;
    if (allowed)
        backend_->WritePort(port, value);
    if (Tracing())
        Trace("WritePort(port=" + HexNumber(port, 2) + " value=" + HexNumber(value, 2) + ")" +
              (allowed ? "" : " refused"));
}

void Library::ChassisClear() {
    backend_->ChassisClear();
    if (Tracing())
        Trace("ChassisClear()");
}

uint8_t Library::ChassisIntrusion() {
    const uint8_t latch = backend_->ChassisIntrusion();
    if (Tracing())
        Trace("ChassisIntrusion() -> " + std::to_string(latch));
    return latch;
}

void Library::GetStatus(HmioStatus* status) {
    if (!status || status->Size < sizeof(uint32_t))
        return;
    HmioStatus full{};
    full.Size = sizeof full;
    backend_->GetStatus(full);
    // Only as much as the caller's structure holds; what it holds beyond ours is zero.
    const uint32_t callerSize = status->Size;
    const size_t common = std::min<size_t>(callerSize, sizeof full);
    std::memcpy(status, &full, common);
    if (callerSize > sizeof full)
        std::memset(reinterpret_cast<uint8_t*>(status) + sizeof full, 0, callerSize - sizeof full);
    status->Size = callerSize;
}

namespace {
// Copies text and its terminating zero when it fits in size bytes.
uint32_t CopyOut(const std::string& text, char* buffer, uint32_t size) {
    if (buffer && size > text.size()) {
        std::memcpy(buffer, text.data(), text.size());
        buffer[text.size()] = '\0';
    }
    return static_cast<uint32_t>(text.size());
}
} // namespace

// A report that does not fit is kept for the caller's next call with a larger
// buffer, so that both calls see the same text.
uint32_t Library::SensorReport(char* buffer, uint32_t size) {
    if (pendingReport_.empty())
        pendingReport_ = backend_->SensorReport();
    const uint32_t length = CopyOut(pendingReport_, buffer, size);
    if (buffer && size > pendingReport_.size())
        pendingReport_.clear();
    return length;
}

uint32_t Library::NextNotice(char* buffer, uint32_t size) {
    if (pendingNotice_.empty())
        pendingNotice_ = backend_->NextNotice();
    const uint32_t length = CopyOut(pendingNotice_, buffer, size);
    if (buffer && size > pendingNotice_.size())
        pendingNotice_.clear();
    return length;
}

Library& Instance(std::unique_lock<std::mutex>& lock) {
    lock = std::unique_lock<std::mutex>(gMutex);
    if (!gLibrary)
        gLibrary = Library::FromEnvironment();
    return *gLibrary;
}

void ResetInstance() {
    std::lock_guard<std::mutex> guard(gMutex);
    gLibrary.reset();
}

} // namespace hmio
