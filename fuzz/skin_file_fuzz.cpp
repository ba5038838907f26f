// libFuzzer target: any bytes as the skin file, read the way the monitor
// reads it at start-up (the whole skin description, then the settings, with
// the interval held to its range) and with the changed settings written back
// the way the save at exit writes them, all in memory: a changed value must
// read back as written.
#include "config/CIniFile.h"
#include "config/IniDocument.h"
#include "config/Settings.h"
#include "skin/SkinReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>

using namespace sentinax;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::ostringstream messages;
    CIniFile ini = CIniFile::InMemory("Skins/Skin.ini", text, messages);
    const SkinDescription skin = ReadSkin(ini);
    // No section gives more controls than are read.
    if (skin.Buttons.size() > IniDocument::kMaxRowsPerSection ||
        skin.Texts.size() > IniDocument::kMaxRowsPerSection ||
        skin.Sliders.size() > IniDocument::kMaxRowsPerSection)
        std::abort();
    AppSettings settings;
    LoadSettings(ini, settings);
    (void)ClampInterval(settings, ini.GetString("Screen", "IntervalTime", ""));
    if (settings.IntervalTime < kMinIntervalSeconds || settings.IntervalTime > kMaxIntervalSetting)
        std::abort();

    // Two changed positions and the unit, as at exit.
    settings.LimitChanged[0] = settings.LimitChanged[17] = true;
    settings.UnitSettingChanged = size % 2 == 0;
    if (!QueueChangedSettings(ini, settings))
        std::abort();
    for (std::size_t item : {std::size_t{0}, std::size_t{17}}) {
        const std::string key = std::to_string(item + 1);
        const std::string stored = ini.GetString("TRACKBARINFO", key, "\x01");
        // A full section refuses a new row (and says so); a written row reads back.
        if (stored != "\x01" && stored != ChangedAdjusterRow(settings, item) &&
            messages.str().find("not written") == std::string::npos)
            std::abort();
    }
    return 0;
}
