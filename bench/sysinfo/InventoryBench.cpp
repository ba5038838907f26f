// Time to fill the inventory, as the dialog does it while it opens:
//   BM_FillThisMachine        the Linux source on this machine, records written
//   BM_FillFileTree/N         a file tree with N disks and N network interfaces
//   BM_FillFileTreeNoFile/N   the same walk on a later opening (no records)
//   BM_DialogThisMachine      the whole dialog initialisation (tree items included)
//   BM_DialogFileTree/N       the same over the file tree
// The first fill of a run also writes WMIinfo.txt (one open and close per
// record); every iteration here is such a first fill.
#include "FakeSysTree.h"

#include "sysinfo/CWmiInfoDialog.h"
#include "sysinfo/InventoryFill.h"
#include "sysinfo/LinuxInventorySource.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>

namespace sentinax {
namespace {

using testing::FakeSysTree;
using testing::TempFolder;

struct NullView : InventoryView {
    void AddCategory(std::string_view) override {}
    void AddInstance(std::string_view) override {}
    void AddProperty(std::string_view) override {}
};

// The standard machine plus count disks and count interfaces, built once per size.
const TempFolder& Tree(int count) {
    static std::map<int, std::unique_ptr<TempFolder>> trees;
    auto& tree = trees[count];
    if (!tree) {
        tree = std::make_unique<TempFolder>();
        FakeSysTree fake(*tree);
        fake.AddStandardMachine();
        for (int i = 0; i < count; ++i) {
            // Names in the kernel's style: sdb..sdz, sdaa.., one partition each.
            std::string name = "sd";
            int n = i + 1;
            std::string suffix;
            do {
                suffix.insert(suffix.begin(), static_cast<char>('a' + n % 26));
                n = n / 26 - 1;
            } while (n >= 0);
            fake.AddDisk(name + suffix, 16 * (i + 1), "WDC WD40EFRX-68N32N0 " + std::to_string(i),
                         7814037168ull);
            fake.AddPartition(name + suffix, 1);
            char mac[18];
            std::snprintf(mac, sizeof mac, "02:00:00:00:%02x:%02x", (i >> 8) & 0xFF, i & 0xFF);
            fake.AddInterface("enp" + std::to_string(i) + "s0", 10 + i, mac, 1000);
        }
    }
    return *tree;
}

void Fill(benchmark::State& state, InventorySource& source, bool writeFile = true) {
    TempFolder out;
    InventoryFillResult result;
    for (auto _ : state) {
        WmiFileState fileState;
        fileState.wmiFileDone = writeFile ? 0 : 1;
        WmiRecordFile file(out.Path("WMIinfo.txt"));
        NullView view;
        result = InventoryFill(source, fileState, file, view).Run();
    }
    state.counters["instances"] = result.Instances;
    state.counters["lines"] = result.PropertyLines;
}

void BM_FillThisMachine(benchmark::State& state) {
    LinuxInventorySource source(InventoryHost::System());
    Fill(state, source);
}
BENCHMARK(BM_FillThisMachine)->Unit(benchmark::kMillisecond);

void BM_FillFileTree(benchmark::State& state) {
    LinuxInventorySource source(
        InventoryHost::UnderRoot(Tree(static_cast<int>(state.range(0))).Dir()));
    Fill(state, source);
}
BENCHMARK(BM_FillFileTree)->Arg(0)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);

// A later opening in the run: the same walk without the file.
void BM_FillFileTreeNoFile(benchmark::State& state) {
    LinuxInventorySource source(
        InventoryHost::UnderRoot(Tree(static_cast<int>(state.range(0))).Dir()));
    Fill(state, source, false);
}
BENCHMARK(BM_FillFileTreeNoFile)->Arg(300)->Unit(benchmark::kMillisecond);

void Dialog(benchmark::State& state, InventorySource& source) {
    TempFolder out;
    int items = 0;
    for (auto _ : state) {
        WmiFileState fileState;
        CWmiInfoDialog dialog(source, fileState, nullptr, out.Path("WMIinfo.txt"));
        dialog.OnInitDialog();
        items = dialog.FillResult().Instances + dialog.FillResult().PropertyLines;
    }
    state.counters["items"] = items;
}

void BM_DialogThisMachine(benchmark::State& state) {
    LinuxInventorySource source(InventoryHost::System());
    Dialog(state, source);
}
BENCHMARK(BM_DialogThisMachine)->Unit(benchmark::kMillisecond);

void BM_DialogFileTree(benchmark::State& state) {
    LinuxInventorySource source(
        InventoryHost::UnderRoot(Tree(static_cast<int>(state.range(0))).Dir()));
    Dialog(state, source);
}
BENCHMARK(BM_DialogFileTree)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace sentinax
