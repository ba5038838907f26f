// Cost of one monitor sample (DetectLM75 + ValueRAM) through the sysfs back end
// on a fake hwmon tree of 19 attributes, and through the simulator.
#include "Library.h"
#include "hmio.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

class TempTree {
public:
    TempTree() {
        char pattern[] = "/tmp/hmio-bench-XXXXXX";
        root_ = ::mkdtemp(pattern);
    }
    ~TempTree() { fs::remove_all(root_); }
    void Write(const std::string& relative, const std::string& text) {
        fs::create_directories((root_ / relative).parent_path());
        std::ofstream(root_ / relative) << text;
    }
    std::string Path(const std::string& relative) const { return (root_ / relative).string(); }

private:
    fs::path root_;
};

void Sample(benchmark::State& state) {
    std::array<uint8_t, 8> params{};
    std::array<int32_t, 30> raw{};
    for (auto _ : state) {
        params.fill(0xC9);
        params[0] = 0;
        raw[7] = 0;
        benchmark::DoNotOptimize(DetectLM75(params.data(), 0));
        ValueRAM(raw.data());
        benchmark::DoNotOptimize(raw.data());
    }
}

void BM_SysfsSample19Attributes(benchmark::State& state) {
    TempTree tree;
    std::string map;
    const std::string chip = "root/sys/class/hwmon/hwmon3/";
    tree.Write(chip + "name", "benchchip\n");
    for (int i = 0; i < 14; ++i) {
        tree.Write(chip + "in" + std::to_string(i) + "_input", std::to_string(1000 + i) + "\n");
        map += "benchchip in" + std::to_string(i) + "_input slot" + std::to_string(i) + "\n";
    }
    for (int i = 1; i <= 3; ++i) {
        tree.Write(chip + "fan" + std::to_string(i) + "_input", "2700\n");
        map += "benchchip fan" + std::to_string(i) + "_input slot" + std::to_string(13 + i) + "\n";
    }
    for (int i = 1; i <= 2; ++i) {
        tree.Write(chip + "temp" + std::to_string(i) + "_input", "45000\n");
        map += "benchchip temp" + std::to_string(i) + "_input param" + std::to_string(i - 1) + "\n";
    }
    tree.Write("bench.map", map);
    ::setenv("HMIO_SYSFS_ROOT", tree.Path("root").c_str(), 1);
    ::setenv("HMIO_CHANNEL_MAP", tree.Path("bench.map").c_str(), 1);
    ::unsetenv("HMIO_SCENARIO");
    hmio::ResetInstance();
    LoadNTHMIO();
    Sample(state);
    UnloadNTHMIO();
    hmio::ResetInstance();
}
BENCHMARK(BM_SysfsSample19Attributes);

void BM_SimulatorSample(benchmark::State& state) {
    TempTree tree;
    tree.Write("demo.scenario", "param 0 42 43 44 cycle\nslot 0 1350 1352 cycle\n"
                                "slot 2 3310\nslot 3 5030\nslot 4 12150\nslot 7 33 34 cycle\n"
                                "slot 8 2700 2650 cycle\nslot 9 1850\nslot 10 2100\n");
    ::setenv("HMIO_SCENARIO", tree.Path("demo.scenario").c_str(), 1);
    hmio::ResetInstance();
    LoadNTHMIO();
    Sample(state);
    hmio::ResetInstance();
    ::unsetenv("HMIO_SCENARIO");
}
BENCHMARK(BM_SimulatorSample);

} // namespace

BENCHMARK_MAIN();
