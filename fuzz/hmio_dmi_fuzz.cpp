// libFuzzer target for the hardware library's DMI reading: the kernel's
// smbios_entry_point file (the input up to the first NUL) and the structure
// table (the rest), through the library's entry points as the monitor calls
// them, and through the entry-point and table parsers directly. The files are
// served by the in-memory tree (MemoryTree.h).
#include "FuzzParts.h"
#include "MemoryTree.h"

#include "Library.h"
#include "Smbios.h"
#include "hmio.h"

#include "hardware/DmiReader.h"
#include "hardware/HardwareLibrary.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace fuzz = sentinax::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    const std::string_view entry = fuzz::TakePart(rest);

    // The parsers on exactly sized copies, so reads past the end are caught.
    const std::vector<uint8_t> table(rest.begin(), rest.end());
    (void)hmio::EntryPointFromFile(entry, table.size());
    (void)hmio::CountStructures(table);

    // The same bytes as the sysfs files, read through the library from the
    // in-memory tree (MemoryTree.h).
    // One library for the whole run: it reads the files anew on every call,
    // and making it (with its channel map) for each input would cost more
    // than the input itself.
    static const std::string root = [] {
        const std::string folder(fuzz::MemoryTree::kRoot);
        ::setenv("HMIO_SYSFS_ROOT", folder.c_str(), 1);
        ::unsetenv("HMIO_SCENARIO");
        ::unsetenv("HMIO_TRACE");
        hmio::ResetInstance();
        return folder;
    }();
    const fuzz::MemoryTree::OneInput tree;
    fuzz::MemoryTree::AddFile(root + "/sys/firmware/dmi/tables/smbios_entry_point", entry);
    fuzz::MemoryTree::AddFile(root + "/sys/firmware/dmi/tables/DMI", rest);
    const std::size_t reads = fuzz::MemoryTree::Reads();
    sentinax::HardwareLibrary library;
    library.GetDMILength = ::GetDMILength;
    library.GetDMIData = ::GetDMIData;
    sentinax::FillMissingEntries(library);
    const sentinax::BoardIdentity id = sentinax::ReadBoardIdentity(library, true);
    if (fuzz::MemoryTree::Reads() == reads) {
        std::fprintf(stderr, "the DMI files were not read from the memory tree: a file call of "
                             "the library is not wrapped (fuzz/MemoryTree.h)\n");
        std::abort();
    }
    if (id.BoardProduct.size() > table.size() || id.BoardVersion.size() > table.size())
        std::abort(); // strings come out of the table, never from beyond it
    return 0;
}
