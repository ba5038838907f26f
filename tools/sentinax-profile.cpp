// Prints the board profile the monitor would decide for a product string (or
// for a raw DMI structure table), one field per line as "Name = value".
//
//   sentinax-profile --product P [--version V] [--vendor 0x8086] [--table FILE] [--dmi FILE]
//
// Without --table the shipped boards.table (working directory, else the tool's
// own directory) is read, with the user's table tried first, as the monitor does.
#include "hardware/BoardTable.h"
#include "hardware/Companions.h"
#include "hardware/DmiReader.h"
#include "hardware/LibraryLoader.h"
#include "hardware/ProfileDecision.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

using namespace sentinax;

namespace {

int Usage() {
    std::cerr << "usage: sentinax-profile --product P [--version V] [--vendor ID] [--table FILE]"
                 " [--dmi FILE]\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::optional<std::string> product, version, tablePath, dmiPath;
    uint32_t vendor = 0;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (i + 1 >= argc)
            return Usage();
        std::string value = argv[++i];
        if (arg == "--product")
            product = value;
        else if (arg == "--version")
            version = value;
        else if (arg == "--table")
            tablePath = value;
        else if (arg == "--dmi")
            dmiPath = value;
        else if (arg == "--vendor") {
            char* end = nullptr;
            unsigned long v = std::strtoul(value.c_str(), &end, 0);
            if (value.empty() || *end || v > 0xFFFFFFFFul)
                return Usage();
            vendor = static_cast<uint32_t>(v);
        } else
            return Usage();
    }
    if (!product && !dmiPath)
        return Usage();

    BoardIdentity id;
    if (dmiPath) {
        std::ifstream in(*dmiPath, std::ios::binary);
        if (!in) {
            std::cerr << *dmiPath << ": cannot open the DMI table\n";
            return 1;
        }
        std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
        WalkStructureTable(data.data(), data.size(), id);
    }
    if (product)
        id.BoardProduct = *product;
    if (version)
        id.BoardVersion = *version;

    BoardTable table;
    if (tablePath) {
        table = LoadBoardTable(*tablePath, std::cerr);
    } else {
        // The working folder's table, the installed one, or the one beside
        // the program in the build's run folder.
        std::string shipped = ShippedFile(kShippedBoardTable);
        std::error_code ec;
        if (!std::filesystem::exists(shipped, ec)) {
            std::string beside = ProgramDirectory() + "/" + kShippedBoardTable;
            if (std::filesystem::exists(beside, ec))
                shipped = beside;
        }
        table = LoadBoardTables(shipped, UserBoardTablePath(), std::cerr);
    }

    BoardProfile profile = DecideProfile(table, id, vendor);
    std::cout << "BoardProduct = " << id.BoardProduct << '\n';
    std::cout << "BoardVersion = " << id.BoardVersion << '\n';
    for (const ProfileField& field : ProfileFields())
        std::cout << field.Name << " = " << field.Get(profile) << '\n';
    return 0;
}
