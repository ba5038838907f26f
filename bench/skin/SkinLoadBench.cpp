// Reading the skin file at start-up: the whole description and the settings,
// from a real file, as the main window does before its first tick. The
// shipped skin, and 16 MiB files of the kinds that once stalled the start-up
// (a section of many short rows) or might (one long line, many sections).
#include "config/CIniFile.h"
#include "config/Settings.h"
#include "skin/SkinReader.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

using namespace sentinax;

constexpr std::size_t kBig = CIniFile::kMaxFileBytes; // 16 MiB, the most that is read

std::string Shipped() {
    std::ifstream in(std::string(SX_DATA_DIR) + "/Skins/Skin.ini", std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The shipped skin followed by filler up to exactly kBig bytes.
std::string Padded(const std::string& head, const std::string& unit) {
    std::string text = head;
    while (text.size() + unit.size() <= kBig)
        text += unit;
    text.append(kBig - text.size(), ';');
    return text;
}

// The shipped skin with its button section grown to make the file kBig
// bytes: rows 8, 9, 10, ... after its own seven.
std::string ManyButtons(const std::string& shipped) {
    const std::size_t at = shipped.find("\n", shipped.find("7=BUTTON_EXIT")) + 1;
    std::string rows;
    const std::size_t room = kBig - shipped.size() - 1; // and one line end
    for (int n = 8;; ++n) {
        const std::string row = std::to_string(n) + "=B" + std::to_string(n) + ",1,1,1,1,t,F\n";
        if (rows.size() + row.size() > room)
            break;
        rows += row;
    }
    rows.append(room - rows.size(), ';');
    return shipped.substr(0, at) + rows + "\n" + shipped.substr(at);
}

// Every kind of file, written once into a private folder.
const std::string& File(int kind) {
    static const std::string folder = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "sx-skinbench.XXXXXX").string();
        return std::string(::mkdtemp(pattern.data()));
    }();
    static std::string paths[4];
    if (paths[kind].empty()) {
        std::string text;
        const std::string shipped = Shipped();
        switch (kind) {
        case 0:
            text = shipped;
            break;
        case 1: // 16 MiB of short button rows: the section read once, 256 kept
            text = ManyButtons(shipped);
            break;
        case 2: // one value line of 16 MiB
            text = Padded(shipped + "\n[Screen]\nLong=", "x");
            break;
        case 3: // 16 MiB of sections, each with a row
            text = Padded(shipped, "[S]\n1=r\n");
            break;
        }
        paths[kind] = folder + "/skin" + std::to_string(kind) + ".ini";
        std::ofstream(paths[kind], std::ios::binary) << text;
    }
    return paths[kind];
}

void LoadSkinFile(benchmark::State& state) {
    const std::string& path = File(static_cast<int>(state.range(0)));
    std::size_t controls = 0;
    for (auto _ : state) {
        std::ostringstream messages;
        const CIniFile ini(path, messages);
        const SkinDescription skin = ReadSkin(ini);
        AppSettings settings;
        LoadSettings(ini, settings);
        controls = skin.Buttons.size() + skin.Texts.size() + skin.Sliders.size();
        benchmark::DoNotOptimize(settings);
    }
    state.counters["controls"] = static_cast<double>(controls);
    state.counters["MiB"] = static_cast<double>(std::filesystem::file_size(path)) / (1 << 20);
}

BENCHMARK(LoadSkinFile)
    ->ArgName("shipped_0_rows_1_long_2_sections_3")
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Arg(3)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (int kind = 0; kind < 4; ++kind)
        std::filesystem::remove_all(std::filesystem::path(File(kind)).parent_path());
    return 0;
}
