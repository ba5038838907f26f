#include "CSkinDialog.h"

#include "config/AppSettings.h"
#include "config/CIniFile.h"
#include "config/Settings.h"

#include <algorithm>
#include <sys/stat.h>

namespace sentinax {

namespace {

// The adjusters have the platform trackbar's default range.
constexpr int kSliderMin = 0;
constexpr int kSliderMax = 100;

} // namespace

CSkinDialog::CSkinDialog(QWidget* parent) : QDialog(parent) {}

CSkinDialog::~CSkinDialog() = default;

bool CSkinDialog::OnInitDialog() {
    struct stat st {};
    if (!skinPath_.empty() && ::stat(skinPath_.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        LoadSkin();
    return true;
}

void CSkinDialog::LoadSkin() {
    const CIniFile ini(skinPath_);
    if (settings_ != nullptr)
        LoadSettings(ini, *settings_);
    skin_ = ReadSkin(ini);
    // The stored position stays in the settings as written; the control
    // itself can only show a place on its track.
    for (SliderInfo& slider : skin_.Sliders)
        slider.Position = std::clamp(slider.Position, kSliderMin, kSliderMax);
}

bool CSkinDialog::WriteSetting(const std::string& section, const std::string& key,
                               const std::string& value) {
    CIniFile ini(skinPath_);
    return ini.WriteString(section, key, value);
}

void CSkinDialog::SetSliderPosition(const std::string& name, int position) {
    for (SliderInfo& slider : skin_.Sliders) {
        if (slider.Name == name) {
            slider.Position = std::clamp(position, kSliderMin, kSliderMax);
            update();
            return;
        }
    }
}

int CSkinDialog::GetSliderPosition(const std::string& name) const {
    for (const SliderInfo& slider : skin_.Sliders) {
        if (slider.Name == name)
            return slider.Position;
    }
    return 0;
}

} // namespace sentinax
