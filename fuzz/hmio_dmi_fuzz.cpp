// libFuzzer target for the hardware library's DMI reading: the kernel's
// smbios_entry_point file (the input up to the first NUL) and the structure
// table (the rest), through the library's entry points as the monitor calls
// them, and through the entry-point and table parsers directly.
#include "FuzzFiles.h"

#include "Library.h"
#include "Smbios.h"
#include "hmio.h"

#include "hardware/DmiReader.h"
#include "hardware/HardwareLibrary.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    const std::string_view entry = sentinax::fuzz::TakePart(rest);

    // The parsers on exactly sized copies, so reads past the end are caught.
    const std::vector<uint8_t> table(rest.begin(), rest.end());
    (void)hmio::EntryPointFromFile(entry, table.size());
    (void)hmio::CountStructures(table);

    // The same bytes as the sysfs files, read through the library.
    static const std::string root = [] {
        const std::string folder = sentinax::fuzz::ScratchFolder() + "/dmi-root";
        ::setenv("HMIO_SYSFS_ROOT", folder.c_str(), 1);
        ::unsetenv("HMIO_SCENARIO");
        ::unsetenv("HMIO_TRACE");
        return folder;
    }();
    sentinax::fuzz::WriteFile(root + "/sys/firmware/dmi/tables/smbios_entry_point", entry);
    sentinax::fuzz::WriteFile(root + "/sys/firmware/dmi/tables/DMI", rest);
    hmio::ResetInstance();
    sentinax::HardwareLibrary library;
    library.GetDMILength = ::GetDMILength;
    library.GetDMIData = ::GetDMIData;
    sentinax::FillMissingEntries(library);
    const sentinax::BoardIdentity id = sentinax::ReadBoardIdentity(library, true);
    if (id.BoardProduct.size() > table.size() || id.BoardVersion.size() > table.size())
        std::abort(); // strings come out of the table, never from beyond it
    return 0;
}
