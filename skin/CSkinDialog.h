// The skinned dialog: the base of the main window. It owns the skin's
// description and, once loaded, its face, buttons, text fields and adjusters.
#pragma once

#include "SkinReader.h"
#include "config/AdjusterAccess.h"

#include <QDialog>
#include <string>

namespace sentinax {

struct AppSettings;

class CSkinDialog : public QDialog, public AdjusterAccess {
    Q_OBJECT
public:
    explicit CSkinDialog(QWidget* parent = nullptr);
    ~CSkinDialog() override;

    // The skin description file, relative to the working directory.
    void SetSkinPath(const std::string& path) { skinPath_ = path; }
    const std::string& SkinPath() const { return skinPath_; }

    // The settings that loading the skin reads (interval, unit, alarm switch,
    // adjuster positions) and that saving writes back.
    void SetSettings(AppSettings* settings) { settings_ = settings; }

    // Loads the skin when its file exists. Returns false only when the window
    // cannot go on; a missing skin file leaves the defaults.
    virtual bool OnInitDialog();

    // Writes one value into the skin file now; false (with the reason on
    // stderr) when the file cannot be written.
    bool WriteSetting(const std::string& section, const std::string& key, const std::string& value);

    // The first adjuster named exactly name moves to position, shown clamped
    // to 0..100; nothing when no adjuster has that name.
    void SetSliderPosition(const std::string& name, int position) override;
    // The position of the first adjuster named exactly name; 0 when none is.
    int GetSliderPosition(const std::string& name) const;

    // What the loaded skin describes: empty until LoadSkin ran. Each control's
    // Index is its row key - 1, which is not its place in the list when rows
    // are missing.
    const SkinDescription& Skin() const { return skin_; }

protected:
    // Reads the skin's settings and rows. Called by OnInitDialog when the file exists.
    virtual void LoadSkin();

    AppSettings* settings_ = nullptr;

private:
    std::string skinPath_;
    SkinDescription skin_;
};

} // namespace sentinax
