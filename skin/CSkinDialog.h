// The skinned dialog: the base of the main window. It owns the skin's
// description and, once loaded, its face, buttons, text fields and adjusters.
#pragma once

#include <QDialog>
#include <string>

namespace sentinax {

struct AppSettings;

class CSkinDialog : public QDialog {
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

protected:
    // Reads the skin's settings and rows. Called by OnInitDialog when the file exists.
    virtual void LoadSkin();

    AppSettings* settings_ = nullptr;

private:
    std::string skinPath_;
};

} // namespace sentinax
