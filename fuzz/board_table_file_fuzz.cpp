// libFuzzer target: any bytes as the two board table files (the shipped table,
// then after the first NUL the user's own), loaded as at start-up, from files
// served by the in-memory tree (MemoryTree.h), and used for a profile decision.
#include "FuzzParts.h"
#include "MemoryTree.h"

#include "hardware/BoardTable.h"
#include "hardware/ProfileDecision.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>

using namespace sentinax;
using fuzz::MemoryTree;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string shippedPath = std::string(MemoryTree::kRoot) + "/boards.table";
    static const std::string userPath = std::string(MemoryTree::kRoot) + "/user.table";
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    const std::string_view shipped = fuzz::TakePart(rest);
    const MemoryTree::OneInput tree;
    MemoryTree::AddFile(shippedPath, shipped);
    MemoryTree::AddFile(userPath, rest);
    const std::size_t reads = MemoryTree::Reads();
    std::ostringstream errors;
    const BoardTable table = LoadBoardTables(shippedPath, userPath, errors);
    if (MemoryTree::Reads() == reads) {
        std::fprintf(stderr, "the board tables were not read from the memory tree: a file call "
                             "of the loader is not wrapped (fuzz/MemoryTree.h)\n");
        std::abort();
    }
    // The first line of each part as the product, so codes of the tables can match.
    BoardIdentity id;
    id.BoardProduct = std::string(shipped.substr(0, shipped.find('\n')));
    id.BoardVersion = std::string(rest.substr(0, rest.find('\n')));
    DecideProfile(table, id, 0x8086);
    DecideProfile(table, id, 0x1022);
    return 0;
}
