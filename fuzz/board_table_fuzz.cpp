// libFuzzer target: any bytes as a board table, then a profile decision with it.
// Built with the others by SENTINAX_FUZZ=ON (fuzz/README.md).
#include "hardware/BoardTable.h"
#include "hardware/ProfileDecision.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    std::istringstream in(text);
    std::ostringstream errors;
    sentinax::BoardTable table;
    sentinax::ParseBoardTable(in, "fuzz", table, errors);
    // Use the input's first line as the product, so codes of the table can match.
    sentinax::BoardIdentity id;
    id.BoardProduct = text.substr(0, text.find('\n'));
    id.BoardVersion = "1.0";
    sentinax::DecideProfile(table, id, 0x8086);
    sentinax::DecideProfile(table, id, 0);
    return 0;
}
