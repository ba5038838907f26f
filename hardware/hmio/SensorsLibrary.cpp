#include "SensorsLibrary.h"

#include "TextParse.h"

#include <sensors/error.h>
#include <sensors/sensors.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>

namespace hmio {

namespace {

// The error handlers' state. libsensors is only ever called by the one
// SensorsLibrary, under the hardware library's lock.
struct ParseError {
    std::string Text;
    int Line = 0;
};
std::vector<ParseError> gParseErrors;
std::string gFatal;
std::jmp_buf* gFatalJump = nullptr;

extern "C" void OnParseError(const char* err, const char* /*file*/, int line) {
    gParseErrors.push_back({err ? err : "error", line});
}

// libsensors must not return from here. We jump back to the guarded call,
// which then gives up on libsensors for the run.
extern "C" void OnFatalError(const char* proc, const char* err) {
    gFatal = std::string(proc ? proc : "libsensors") + ": " + (err ? err : "fatal error");
    if (gFatalJump)
        std::longjmp(*gFatalJump, 1);
    std::abort(); // not reached: every call into libsensors is guarded
}

void InstallHandlers() {
    sensors_parse_error_wfn = OnParseError;
    sensors_fatal_error = OnFatalError;
}

// Runs fn with a jump target for the fatal handler; false when libsensors
// gave up inside. fn keeps no object with a destructor alive across its
// calls into libsensors.
template <typename Fn> bool Guarded(Fn&& fn) {
    std::jmp_buf jump;
    std::jmp_buf* const previous = gFatalJump;
    gFatalJump = &jump;
    if (setjmp(jump) != 0) {
        gFatalJump = previous;
        return false;
    }
    fn();
    gFatalJump = previous;
    return true;
}

struct ConfigFile {
    std::string Name;
    std::string Text;
};

// sensors_init on a text held in memory; the parse errors it reported.
// Returns libsensors' result (0: success).
int InitFromText(const std::string& text, bool& fatal) {
    std::string input = text + "\n";
    FILE* stream = ::fmemopen(input.data(), input.size(), "r");
    if (!stream)
        return -1;
    int result = -1;
    fatal = !Guarded([&] { result = sensors_init(stream); });
    std::fclose(stream);
    return result;
}

std::vector<ConfigFile> ReadConfigFiles(const SensorsConfigPaths& paths) {
    std::vector<ConfigFile> files;
    struct stat info {};
    const std::string main =
        ::stat(paths.MainFile.c_str(), &info) == 0 ? paths.MainFile : paths.OldMainFile;
    if (auto text = ReadWholeFile(main))
        files.push_back({main, std::move(*text)});
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(paths.Folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            if (entry->d_name[0] != '.')
                names.emplace_back(entry->d_name);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        const std::string path = paths.Folder + "/" + name;
        if (auto text = ReadWholeFile(path)) // regular files only
            files.push_back({path, std::move(*text)});
    }
    return files;
}

std::string Concatenate(const std::vector<ConfigFile>& files) {
    std::string all;
    for (const ConfigFile& file : files)
        all += file.Text + "\n";
    return all;
}

std::string DriverLabel(const std::string& folder, const std::string& stem) {
    auto text = ReadWholeFile(folder + stem + "_label", 256);
    if (!text)
        text = ReadWholeFile(folder + "device/" + stem + "_label", 256);
    if (!text)
        return stem;
    while (!text->empty() && (text->back() == '\n' || text->back() == ' '))
        text->pop_back();
    return text->empty() ? stem : *text;
}

} // namespace

SensorsLibrary::SensorsLibrary(SensorsConfigPaths paths) : paths_(std::move(paths)) {}

SensorsLibrary::~SensorsLibrary() {
    Cleanup();
}

void SensorsLibrary::Cleanup() {
    chips_.clear();
    if (initialised_ && !broken_)
        Guarded([] { sensors_cleanup(); });
    initialised_ = false;
}

bool SensorsLibrary::Init(std::vector<std::string>& messages) {
    if (broken_)
        return false;
    Cleanup();
    InstallHandlers();
    auto say = [&](const std::string& message) {
        if (reported_.insert(message).second)
            messages.push_back(message);
    };
    auto fatal = [&] {
        broken_ = true;
        say("libsensors failed (" + gFatal + "); reading the sensors without it");
        return false;
    };

    const std::vector<ConfigFile> files = ReadConfigFiles(paths_);
    usedFiles_.clear();
    brokenFiles_.clear();
    bool died = false;
    gParseErrors.clear();
    // libsensors skips a line it cannot parse and may still succeed; a file
    // with any such line is left out all the same, so what it meant is not
    // half applied.
    const int whole = InitFromText(Concatenate(files), died);
    if (whole == 0 && gParseErrors.empty()) {
        for (const ConfigFile& file : files)
            usedFiles_.push_back(file.Name);
        initialised_ = true;
        return true;
    }
    if (died)
        return fatal();
    if (whole == 0) // a failed init has cleaned up after itself
        Guarded([] { sensors_cleanup(); });

    // Some file is broken: find which, alone, and leave those out.
    std::vector<ConfigFile> good;
    for (const ConfigFile& file : files) {
        gParseErrors.clear();
        const int result = InitFromText(file.Text, died);
        if (died)
            return fatal();
        if (result == 0)
            Guarded([] { sensors_cleanup(); });
        if (result == 0 && gParseErrors.empty()) {
            good.push_back(file);
            continue;
        }
        std::string where = file.Name;
        std::string what = sensors_strerror(result);
        if (!gParseErrors.empty()) {
            where += ":" + std::to_string(gParseErrors.front().Line);
            what = gParseErrors.front().Text;
        }
        brokenFiles_.push_back(where + ": " + what);
        say(where + ": " + what + " (lm-sensors configuration); going on without this file");
    }
    gParseErrors.clear();
    const int result = InitFromText(Concatenate(good), died);
    if (died)
        return fatal();
    if (result != 0) {
        say(std::string("libsensors cannot start (") + sensors_strerror(result) +
            "); reading the sensors without it");
        return false;
    }
    for (const ConfigFile& file : good)
        usedFiles_.push_back(file.Name);
    initialised_ = true;
    return true;
}

std::vector<SensorChip> SensorsLibrary::Chips() {
    std::vector<SensorChip> chips;
    if (!Usable())
        return chips;
    chips_.clear();
    std::vector<const sensors_chip_name*> names;
    if (!Guarded([&] {
            int nr = 0;
            while (const sensors_chip_name* name = sensors_get_detected_chips(nullptr, &nr))
                names.push_back(name);
        })) {
        broken_ = true;
        return chips;
    }
    for (const sensors_chip_name* name : names) {
        SensorChip chip;
        chip.Handle = static_cast<int>(chips_.size());
        chips_.push_back(name);
        char text[256] = {};
        int printed = -1;
        Guarded([&] { printed = sensors_snprintf_chip_name(text, sizeof text, name); });
        if (printed <= 0 || !name->prefix || !name->path)
            continue;
        chip.Name = text;
        chip.Prefix = name->prefix;
        chip.Folder = std::string(name->path) + "/";
        chip.Address = name->addr;
        switch (name->bus.type) {
        case SENSORS_BUS_TYPE_I2C:
            chip.Bus = "i2c";
            break;
        case SENSORS_BUS_TYPE_ISA:
            chip.Bus = "isa";
            break;
        case SENSORS_BUS_TYPE_PCI:
            chip.Bus = "pci";
            break;
        case SENSORS_BUS_TYPE_SPI:
            chip.Bus = "spi";
            break;
        case SENSORS_BUS_TYPE_ACPI:
            chip.Bus = "acpi";
            break;
        case SENSORS_BUS_TYPE_HID:
            chip.Bus = "hid";
            break;
        default:
            chip.Bus = "virtual";
            break;
        }
        struct Found {
            const sensors_feature* Feature;
            const sensors_subfeature* Input;
            char* Label;
        };
        std::vector<Found> found;
        const bool ok = Guarded([&] {
            int nr = 0;
            while (const sensors_feature* feature = sensors_get_features(name, &nr)) {
                sensors_subfeature_type input;
                switch (feature->type) {
                case SENSORS_FEATURE_IN:
                    input = SENSORS_SUBFEATURE_IN_INPUT;
                    break;
                case SENSORS_FEATURE_FAN:
                    input = SENSORS_SUBFEATURE_FAN_INPUT;
                    break;
                case SENSORS_FEATURE_TEMP:
                    input = SENSORS_SUBFEATURE_TEMP_INPUT;
                    break;
                default:
                    continue;
                }
                const sensors_subfeature* sub = sensors_get_subfeature(name, feature, input);
                if (!sub)
                    continue;
                found.push_back({feature, sub, sensors_get_label(name, feature)});
            }
        });
        for (const Found& f : found) {
            SensorInput in;
            in.Stem = f.Feature->name ? f.Feature->name : "";
            const auto kind = KindOfStem(in.Stem);
            if (kind && !in.Stem.empty()) {
                in.Kind = *kind;
                in.Number = f.Input->number;
                const std::string driver = DriverLabel(chip.Folder, in.Stem);
                in.Label = f.Label ? std::string(f.Label) : driver;
                in.ConfigLabel = in.Label != driver;
                in.DriverLabel = driver;
                chip.Inputs.push_back(std::move(in));
            }
            std::free(f.Label);
        }
        if (!ok) {
            broken_ = true;
            return {};
        }
        chips.push_back(std::move(chip));
    }
    return chips;
}

std::optional<double> SensorsLibrary::Value(int handle, int number) {
    if (!Usable() || handle < 0 || handle >= static_cast<int>(chips_.size()))
        return std::nullopt;
    const auto* name = static_cast<const sensors_chip_name*>(chips_[handle]);
    double value = 0;
    int result = -1;
    if (!Guarded([&] { result = sensors_get_value(name, number, &value); })) {
        broken_ = true;
        return std::nullopt;
    }
    if (result < 0)
        return std::nullopt;
    return value;
}

} // namespace hmio
