// libFuzzer target for the hardware library's sysfs back end: hwmon chip
// discovery and the parsing of every value it reads. The input describes up
// to three chips, parts separated by NUL bytes: a chip's name, then the
// contents of its attribute files in the order of kAttributes; after the
// chips, the host bridge's vendor file. The library then runs the monitor's
// start-up and two sampling ticks on that tree with its built-in channel map,
// and for inputs of odd length the placement report.
// The tree lives in memory (MemoryTree.h).
#include "FuzzParts.h"
#include "MemoryTree.h"

#include "Library.h"
#include "hmio.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr const char* kAttributes[] = {
    "in0_input",  "in1_input",  "in2_input",   "in3_input",        "in4_input",
    "in5_input",  "in6_input",  "temp1_input", "temp2_input",      "temp3_input",
    "fan1_input", "fan2_input", "fan3_input",  "intrusion0_alarm",
};
constexpr int kChips = 3;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using sentinax::fuzz::MemoryTree;
    using sentinax::fuzz::TakePart;
    // One library for the whole run: LoadNTHMIO discovers the chips anew
    // each time and UnloadNTHMIO lets them go, and making the library (with
    // its channel map) for each input would cost more than the input itself.
    static const std::string root = [] {
        const std::string folder(MemoryTree::kRoot);
        ::setenv("HMIO_SYSFS_ROOT", folder.c_str(), 1);
        for (const char* name : {"HMIO_SCENARIO", "HMIO_TRACE", "HMIO_CHANNEL_MAP"})
            ::unsetenv(name);
        hmio::ResetInstance();
        return folder;
    }();
    const MemoryTree::OneInput tree;

    std::string_view rest(reinterpret_cast<const char*>(data), size);
    for (int chip = 0; chip < kChips && !rest.empty(); ++chip) {
        // Numbered out of order: discovery must not depend on it.
        const std::string folder = root + "/sys/class/hwmon/hwmon" + std::to_string(7 - chip) + "/";
        MemoryTree::AddFile(folder + "name", TakePart(rest));
        for (const char* attribute : kAttributes) {
            if (rest.empty())
                break;
            const std::string_view value = TakePart(rest);
            if (!value.empty() && value != "-") // "-": no such file
                MemoryTree::AddFile(folder + attribute, value);
        }
    }
    MemoryTree::AddFile(root + "/sys/bus/pci/devices/0000:00:00.0/vendor", TakePart(rest));

    const std::size_t reads = MemoryTree::Reads();
    LoadNTHMIO();
    if (MemoryTree::Reads() == reads) {
        std::fprintf(stderr, "the hwmon tree was not read from the memory tree: a file call of "
                             "the library is not wrapped (fuzz/MemoryTree.h)\n");
        std::abort();
    }
    (void)GetVid();
    (void)DetectLM78();
    for (int tick = 0; tick < 2; ++tick) {
        std::array<uint8_t, HMIO_CHIP_PARAM_COUNT> params{};
        (void)DetectLM75(params.data(), 0);
        std::array<int32_t, HMIO_RAW_VALUE_COUNT> raw{};
        ValueRAM(raw.data());
        (void)ChassisIntrusion();
    }
    // What the monitor asks for besides the readings: the read status, the
    // placement report (--sensors) and the notices, drained as it drains them.
    // The report reads the whole tree again, as `--sensors` does, which is a
    // third of an input's time: inputs of odd length ask for it, so that the
    // fuzzer still steers into it and the others are spared that third.
    HmioStatus status{};
    HmioGetStatus(&status);
    std::array<char, 8192> text{};
    if (size % 2 == 1)
        (void)HmioSensorReport(text.data(), text.size());
    while (HmioNextNotice(text.data(), text.size()) != 0) {
    }
    UnloadNTHMIO();
    return 0;
}
