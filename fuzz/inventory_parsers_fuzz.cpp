// libFuzzer target for the inventory's readers of outside input: the DMI
// memory-device walk, /proc/cpuinfo, KEY=VALUE files, udev database files,
// /proc/asound/cards, connector modes, input capability bitmaps, relative
// paths and the single-byte field rule. Built with the others by
// SENTINAX_FUZZ (fuzz/README.md).
#include "sysinfo/CpuInfo.h"
#include "sysinfo/InputCapabilities.h"
#include "sysinfo/MediaClasses.h"
#include "sysinfo/RelativePath.h"
#include "sysinfo/SmbiosMemory.h"
#include "sysinfo/SysFiles.h"
#include "sysinfo/SysfsDeviceEnumerator.h"
#include "sysinfo/WmiField.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    sentinax::ParseMemoryDevices(data, size);
    sentinax::ParseCpuInfo(text);
    sentinax::ParseKeyValueLines(text);
    sentinax::SysfsDeviceEnumerator::ParseDatabase(text);
    sentinax::ParseSoundCards(text);
    sentinax::ParseModeLine(text);
    const sentinax::InputBitmap bitmap(text);
    bitmap.Count(0, 767);
    if (const auto path = sentinax::ParseRelativePath(text)) {
        // What parses must build back to a path that parses the same.
        const auto again = sentinax::ParseRelativePath(sentinax::BuildRelativePath(*path));
        if (!again || again->Keys != path->Keys || again->ClassName != path->ClassName) {
            __builtin_trap();
        }
    }
    sentinax::RelativePathField field;
    field.Assign(text);
    if (field.Text().size() > 199) {
        __builtin_trap();
    }
    return 0;
}
