// libFuzzer target: any bytes as the two board table files (the shipped table,
// then after the first NUL the user's own), loaded as at start-up and used
// for a profile decision.
#include "FuzzFiles.h"

#include "hardware/BoardTable.h"
#include "hardware/ProfileDecision.h"

#include <cstddef>
#include <cstdint>
#include <sstream>

using namespace sentinax;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    const std::string_view shipped = fuzz::TakePart(rest);
    const std::string folder = fuzz::ScratchFolder();
    fuzz::WriteFile(folder + "/boards.table", shipped);
    fuzz::WriteFile(folder + "/user.table", rest);
    std::ostringstream errors;
    const BoardTable table =
        LoadBoardTables(folder + "/boards.table", folder + "/user.table", errors);
    // The first line of each part as the product, so codes of the tables can match.
    BoardIdentity id;
    id.BoardProduct = std::string(shipped.substr(0, shipped.find('\n')));
    id.BoardVersion = std::string(rest.substr(0, rest.find('\n')));
    DecideProfile(table, id, 0x8086);
    DecideProfile(table, id, 0x1022);
    return 0;
}
