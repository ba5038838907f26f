// libFuzzer target: any bytes as the skin file, read the way the monitor
// reads it at start-up (the whole skin description, then the settings) and
// saved back the way it saves changed settings at exit.
#include "FuzzFiles.h"

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
    const std::string path = fuzz::ScratchFolder() + "/Skin.ini";
    fuzz::WriteFile(path, std::string_view(reinterpret_cast<const char*>(data), size));
    std::ostringstream messages;
    const CIniFile ini(path, messages);
    const SkinDescription skin = ReadSkin(ini);
    // No section gives more controls than are read.
    if (skin.Buttons.size() > IniDocument::kMaxRowsPerSection ||
        skin.Texts.size() > IniDocument::kMaxRowsPerSection ||
        skin.Sliders.size() > IniDocument::kMaxRowsPerSection)
        std::abort();
    AppSettings settings;
    LoadSettings(ini, settings);
    if (ini.State() != CIniFile::ReadState::Read)
        std::abort(); // a regular file under the cap is always read

    // A save of two changed positions and the unit, as at exit.
    settings.LimitChanged[0] = settings.LimitChanged[17] = true;
    settings.UnitSettingChanged = size % 2 == 0;
    SaveSettings(path, settings);
    return 0;
}
