// The skinned dialog: the base of the main window. It turns a skin file into
// a window: the face (Main) painted as the background, the frameless window
// shaped by the mask (pure white is outside), the buttons, text fields and
// adjusters of the rows, dragging the window by its face, and the controls'
// events turned into calls of the virtual operations below.
//
// A picture that is missing or cannot be decoded is reported once (through
// the reporter, stderr by default) and the window goes on without it: no face
// leaves a plain dark, rectangular, framed window whose controls draw plain
// looks; a missing mask leaves the window rectangular at the face's size.
#pragma once

#include "CompositorWatch.h"
#include "ExposureWatcher.h"
#include "HintLine.h"
#include "SkinReader.h"
#include "config/AdjusterAccess.h"

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QRegion>
#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace sentinax {

struct AppSettings;
class CIniFile;
class CSkinButton;
class CSkinSlider;
class CSkinText;

// The skin whose shipped settings stand in for a skin file of unknown name.
inline constexpr const char* kStandardSkinName = "Skin.ini";

class CSkinDialog : public QDialog, public AdjusterAccess {
    Q_OBJECT
public:
    using Reporter = std::function<void(const std::string&)>;

    explicit CSkinDialog(QWidget* parent = nullptr);
    ~CSkinDialog() override;

    // The skin description file, relative to the working directory.
    void SetSkinPath(const std::string& path) { skinPath_ = path; }
    const std::string& SkinPath() const { return skinPath_; }

    // The settings that loading the skin reads (interval, unit, alarm switch,
    // adjuster positions) and that saving writes back.
    void SetSettings(AppSettings* settings) { settings_ = settings; }
    // Where the skin's faults go (one line each, no newline).
    void SetReporter(Reporter reporter) { reporter_ = std::move(reporter); }

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
    // The first text field named exactly name shows text; nothing when none is.
    void SetFieldText(const std::string& name, const std::string& text);

    // Deletes every control and image.
    void ReleaseSkin();
    // No face button stays pressed, lit or holding the mouse: run when a
    // dialog or menu took the pointer (a modal loop began or ended, or a
    // button's command returned), so the first click afterwards counts.
    void ResetPointerStates();

    // Virtual operations: what the controls report. The base does nothing.
    // A button was clicked (pressed and released inside it).
    virtual void OnButtonCommand(const std::string& name);
    // An adjuster moved: code 4 while its thumb is dragged, 8 when the drag ends.
    virtual void OnSliderChanged(const std::string& name, int code, int position);
    virtual void OnTextClicked(const std::string& name);
    // The pointer moved over the named control, or over the face itself with
    // an empty name; x and y in the reporting widget's own coordinates.
    virtual void OnPointerOver(const std::string& name, int x, int y);
    // The receivers of the controls' signals, which carry the control's index
    // (row key - 1): these find the control with that index and pass its name
    // on. After a button's command the face's pointer states are reset.
    void OnButtonIndex(int index);
    void OnSliderIndex(int index, int code, int position);
    void OnTextIndex(int index);

    // What the loaded skin describes: empty until LoadSkin ran. Each control's
    // Index is its row key - 1, which is not its place in the list when rows
    // are missing.
    const SkinDescription& Skin() const { return skin_; }
    const std::vector<CSkinButton*>& Buttons() const { return buttons_; }
    const std::vector<CSkinText*>& Texts() const { return texts_; }
    const std::vector<CSkinSlider*>& Sliders() const { return sliders_; }
    // The face. The state pictures are only held while the controls are made.
    const QImage& MainImage() const { return mainImage_; }
    const QImage& OverImage() const { return overImage_; }
    const QImage& DownImage() const { return downImage_; }
    const QImage& DisabledImage() const { return disabledImage_; }
    // The window's shape; none while the window is rectangular.
    const std::optional<QRegion>& WindowRegion() const { return region_; }
    // How the cut-out corners are made now: by the X shape over an opaque
    // face, or by a face whose pixels outside the mask are transparent (where
    // a compositor blends windows). The input region follows the mask in both.
    FaceShape Shape() const { return shape_; }
    void SetShape(FaceShape shape);
    // The face as painted while translucent: the face's pixels inside the
    // mask, transparent outside; empty without a mask.
    const QImage& BlendedFace() const { return blendedFace_; }

    // Whether anybody can see the window. While nobody can, the window paints
    // nothing (what changes meanwhile is painted at once when it can be seen
    // again) and the controls that follow it rest.
    ExposureWatcher& Exposure() { return *exposure_; }
    // A control with SetExposed(bool) animates only while the window can be seen.
    template <typename Control> void FollowExposure(Control* control) {
        control->SetExposed(exposure_->Exposed());
        connect(exposure_, &ExposureWatcher::exposedChanged, control, &Control::SetExposed);
    }

    // A picture of the skin (path: resolved file, name: as the row writes it),
    // decoded once per load whatever number of controls use it; an empty
    // image, reported once, when it cannot be read.
    QImage SkinImage(const std::string& path, const std::string& name);

protected:
    // Reads the skin's settings, pictures and rows and builds the window.
    // Called by OnInitDialog when the file exists.
    virtual void LoadSkin();
    // Gives the window the shape of the mask's non-white pixels.
    virtual void ApplyMask(const QImage& mask);
    void Report(const std::string& message) const;

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    AppSettings* settings_ = nullptr;

private:
    // The steps of LoadSkin, in their order.
    std::string ShippedSettingsInstead(const CIniFile& file, std::optional<CIniFile>& shipped);
    void LoadSettingsFrom(const CIniFile& ini);
    QImage LoadPictures(const std::string& dir);
    void FitPictures(const QImage& mask);
    void SetWindowFrame();
    void CreateControls(const std::string& dir);
    void CheckPlaces();

    void MatchBevels();
    // The names and images of the over, down and disabled pictures.
    std::array<std::pair<const std::string*, QImage*>, 3> StatePictures();
    template <typename Control>
    void PointerOverControl(const std::vector<Control*>& controls, int index, int x, int y);

    std::string skinPath_;
    SkinDescription skin_;
    Reporter reporter_;
    std::vector<CSkinButton*> buttons_;
    std::vector<CSkinText*> texts_;
    std::vector<CSkinSlider*> sliders_;
    QImage mainImage_, overImage_, downImage_, disabledImage_;
    std::map<std::string, QImage> imageCache_; // by resolved path, during a load
    std::optional<QRegion> region_;
    QImage blendedFace_;
    FaceShape shape_ = FaceShape::Shaped;
    CompositorWatch* compositor_ = nullptr;
    ExposureWatcher* exposure_;
    // Dragging by the face where the window manager does not move the window.
    bool followPointer_ = false;
    QPoint grabOffset_;
};

} // namespace sentinax
