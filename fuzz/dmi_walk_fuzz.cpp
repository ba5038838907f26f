// libFuzzer target: any bytes as a DMI structure table.
// Built with the others by SENTINAX_FUZZ=ON (fuzz/README.md).
#include "hardware/DmiReader.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exactly sized copy, so any read past the end is caught.
    std::vector<uint8_t> table(data, data + size);
    sentinax::BoardIdentity id;
    sentinax::WalkStructureTable(table.data(), table.size(), id);
    return 0;
}
