// Loading a skin: LoadSkin and its steps (settings, pictures and their
// sizes, window frame, mask, places). The controls are made and wired in
// CSkinDialog.cpp.
#include "CSkinDialog.h"

#include "ImageOps.h"
#include "MaskScan.h"
#include "SkinControl.h"

#include "AdjusterHint.h"
#include "config/AppSettings.h"
#include "config/CIniFile.h"
#include "config/Settings.h"
#include "config/ShippedSkins.h"
#include "hardware/Reporter.h"

#include <QPalette>
#include <optional>

namespace sentinax {

namespace {

std::string SizeText(const QSize& size) {
    return std::to_string(size.width()) + " x " + std::to_string(size.height());
}

} // namespace

QImage CSkinDialog::SkinImage(const std::string& path, const std::string& name) {
    auto it = imageCache_.find(path);
    if (it != imageCache_.end())
        return it->second;
    QImage image;
    std::string why;
    if (name.empty())
        why = "is not named";
    else
        LoadImageFile(path, image, &why);
    if (image.isNull())
        Report(skinPath_ + ": picture \"" + name + "\" " + why);
    imageCache_.emplace(path, image);
    return image;
}

// The skin's steps, in order: the settings (or the shipped copy's), the rows,
// the pictures and their sizes, the window's frame and shape, the controls.
void CSkinDialog::LoadSkin() {
    ReleaseSkin();
    const CIniFile file(skinPath_);
    std::optional<CIniFile> shipped;
    const std::string hint = ShippedSettingsInstead(file, shipped);
    const CIniFile& ini = shipped ? *shipped : file;
    LoadSettingsFrom(ini);
    skin_ = ReadSkin(ini);
    const std::string dir = SkinDirectory(skinPath_);
    const QImage mask = LoadPictures(dir);
    FitPictures(mask);
    SetWindowFrame();
    // Without a face the window stays a plain rectangle with a frame.
    if (!mask.isNull() && !mainImage_.isNull())
        ApplyMask(mask);
    CreateControls(dir);
    CheckPlaces();
    if (!hint.empty())
        SetFieldText(kHintField, hint);

    // The buttons hold their own pieces of the state pictures; only the face
    // is still painted from.
    overImage_ = downImage_ = disabledImage_ = QImage();
    update();
    imageCache_.clear();
}

// Settings that cannot be read would all be zero: no alarm, every limit at its
// lowest, healthy rails logged as faults. The shipped copy of the skin stands
// in, and the user's file is left exactly as it is. A file that does not
// exist yet is made at exit from the shipped copy with the run's changes; one
// that exists but cannot be read is never saved over. Returns the hint to
// show, empty when the file's own settings are used.
std::string CSkinDialog::ShippedSettingsInstead(const CIniFile& file,
                                                std::optional<CIniFile>& shipped) {
    const std::string unusable = UnusableSettingsReason(file);
    if (unusable.empty())
        return {};
    const bool missing = file.State() == CIniFile::ReadState::Missing;
    const std::string name = skinPath_.substr(skinPath_.rfind('/') + 1);
    const std::string_view text =
        ShippedSkinText(name).value_or(ShippedSkinText(kStandardSkinName).value_or(""));
    shipped.emplace(CIniFile::InMemory(skinPath_, text, ReportedLines()));
    if (missing) {
        Report(skinPath_ + ": " + unusable +
               "; the shipped settings are used and the file is created with them at exit");
    } else {
        Report(skinPath_ + ": " + unusable +
               "; the shipped settings are used and nothing is saved into the file");
    }
    if (settings_ != nullptr && missing)
        settings_->MissingFileText = std::string(text);
    else if (settings_ != nullptr)
        settings_->SaveRefused = "its settings could not be read (" + unusable + ")";
    return missing ? kMissingSkinHint : kUnreadableSettingsHint;
}

void CSkinDialog::LoadSettingsFrom(const CIniFile& ini) {
    if (settings_ == nullptr)
        return;
    LoadSettings(ini, *settings_);
    if (const std::string clamped =
            ClampInterval(*settings_, ini.GetString("Screen", "IntervalTime", ""));
        !clamped.empty())
        Report(skinPath_ + ": " + clamped);
}

// The face and the three state pictures; returns the mask. A state picture
// that is not named or cannot be read stays empty here.
QImage CSkinDialog::LoadPictures(const std::string& dir) {
    const ScreenImages& names = skin_.Screen;
    if (names.Main.empty())
        Report(skinPath_ + ": no face picture (Screen/Main): the window stays plain");
    else
        mainImage_ = SkinImage(dir + names.Main, names.Main);
    const QImage mask = names.Mask.empty() ? QImage() : SkinImage(dir + names.Mask, names.Mask);
    for (const auto& [name, image] : StatePictures())
        *image = name->empty() ? QImage() : SkinImage(dir + *name, *name);
    return mask;
}

// The mask gives the window's size; without one the face does. A picture of
// another size is reported; a missing state picture is replaced by the face,
// which is what a skin that names none gets.
void CSkinDialog::FitPictures(const QImage& mask) {
    const QSize pictured = !mask.isNull() ? mask.size() : mainImage_.size();
    if (!pictured.isEmpty()) {
        setFixedSize(pictured);
        raise();
    }
    const QSize size = this->size();
    std::string misfits;
    auto fits = [&](const std::string& name, const QImage& image) {
        if (!image.isNull() && image.size() != size)
            misfits +=
                (misfits.empty() ? "\"" : ", \"") + name + "\" (" + SizeText(image.size()) + ")";
    };
    fits(skin_.Screen.Main, mainImage_);
    for (const auto& [name, image] : StatePictures()) {
        fits(*name, *image);
        if (image->isNull())
            *image = mainImage_;
    }
    if (!misfits.empty())
        Report(skinPath_ + ": pictures not of the window's size (" + SizeText(size) +
               "): " + misfits);
}

std::array<std::pair<const std::string*, QImage*>, 3> CSkinDialog::StatePictures() {
    const ScreenImages& names = skin_.Screen;
    return {{{&names.Over, &overImage_},
             {&names.Down, &downImage_},
             {&names.Disabled, &disabledImage_}}};
}

// A window with a face has no frame: the face is its frame.
void CSkinDialog::SetWindowFrame() {
    const bool wasVisible = isVisible();
    setWindowFlag(Qt::FramelessWindowHint, !mainImage_.isNull());
    if (wasVisible)
        show();
    MatchBevels();
}

// The sunken and raised edges that other children of the window draw (the
// graphs' frames) take shades of the face's own colour, not the desktop's.
void CSkinDialog::MatchBevels() {
    if (mainImage_.isNull()) {
        setPalette(QPalette());
        return;
    }
    const QColor base =
        mainImage_.scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).pixelColor(0, 0);
    QPalette shades = palette();
    shades.setColor(QPalette::Light, base.lighter(190));
    shades.setColor(QPalette::Midlight, base.lighter(140));
    shades.setColor(QPalette::Mid, base.darker(150));
    shades.setColor(QPalette::Dark, base.darker(260));
    shades.setColor(QPalette::Shadow, Qt::black);
    setPalette(shades);
}

// A control that the window's size or shape cuts away cannot be reached.
void CSkinDialog::CheckPlaces() {
    const QRegion window = region_ ? *region_ : QRegion(rect());
    std::string outside;
    auto check = [&](const std::string& name, const SkinRect& place) {
        const QRect r = RowPlace(place);
        if (r.isEmpty() || window.intersected(r) != QRegion(r))
            outside += (outside.empty() ? "" : ", ") + name;
    };
    for (const ButtonInfo& row : skin_.Buttons)
        check(row.Name, row.Rect);
    for (const TextInfo& row : skin_.Texts)
        check(row.Name, row.Rect);
    for (const SliderInfo& row : skin_.Sliders)
        check(row.Name, row.Rect);
    if (!outside.empty())
        Report(skinPath_ + ": controls not wholly inside the window's shape: " + outside);
}

// The mask gives the X shape and, on every desktop, the input region; where a
// compositor blends, the face painted through it gives the visible outline.
void CSkinDialog::ApplyMask(const QImage& mask) {
    region_ = BitmapToRegion(mask, kMaskKey, kMaskTolerance);
    blendedFace_ = QImage();
    if (region_) {
        setMask(*region_);
        if (testAttribute(Qt::WA_TranslucentBackground))
            blendedFace_ = MaskedFace(mainImage_, *region_);
    }
    update();
}

} // namespace sentinax
