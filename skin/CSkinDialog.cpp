#include "CSkinDialog.h"

#include "CSkinButton.h"
#include "CSkinSlider.h"
#include "CSkinText.h"
#include "ImageOps.h"
#include "MaskScan.h"

#include "AdjusterHint.h"
#include "config/AppSettings.h"
#include "config/CIniFile.h"
#include "config/Settings.h"
#include "config/ShippedSkins.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QWindow>
#include <cstdio>
#include <iostream>
#include <optional>
#include <sys/stat.h>

namespace sentinax {

namespace {

// What shows where the skin has no face.
const QColor kBareColour(24, 30, 38);

std::string SizeText(const QSize& size) {
    return std::to_string(size.width()) + " x " + std::to_string(size.height());
}

QRect ToQRect(const SkinRect& r) {
    return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
}

} // namespace

CSkinDialog::CSkinDialog(QWidget* parent) : QDialog(parent), exposure_(new ExposureWatcher(this)) {
    setMouseTracking(true);
    // A hidden window paints nothing anyway, and stays ready to be grabbed.
    connect(exposure_, &ExposureWatcher::exposedChanged, this, [this](bool exposed) {
        setUpdatesEnabled(exposed || !isVisible());
        // Updates asked for while the window was covered leave it marked
        // dirty with no paint to come: a window uncovered without an expose
        // event of its own (a compositor's, or the X server's with backing
        // store) would show its old pixels until it is exposed again. The
        // whole face is painted once, after the event that uncovered it.
        if (exposed)
            QMetaObject::invokeMethod(this, [this] { repaint(); }, Qt::QueuedConnection);
    });
    // A window's pixels can only carry alpha when it asks before it is made.
    // Where nothing blends (X11 without a compositor) an opaque window costs
    // the X server less on every repaint, so alpha is asked for only once a
    // compositor runs.
    if (parent == nullptr && CompositorWatch::AlphaWindowsPossible()) {
        compositor_ = new CompositorWatch(this);
        shape_ = compositor_->Shape();
        if (shape_ == FaceShape::Translucent)
            setAttribute(Qt::WA_TranslucentBackground);
        // Queued: the window may be made anew, which must not happen inside
        // the native event that told of the compositor.
        connect(
            compositor_, &CompositorWatch::compositingChanged, this,
            [this] { SetShape(compositor_->Shape()); }, Qt::QueuedConnection);
    }
}

// A compositor that started under an opaque window: the window is made anew
// with alpha (where it was, shown or hidden as it was), and keeps it when the
// compositor stops again; only the face painted into it changes then.
void CSkinDialog::SetShape(FaceShape shape) {
    if (shape == shape_)
        return;
    shape_ = shape;
    if (shape == FaceShape::Translucent && !testAttribute(Qt::WA_TranslucentBackground)) {
        const bool visible = isVisible();
        const QPoint at = pos();
        hide();
        setAttribute(Qt::WA_TranslucentBackground);
        destroy(); // the native window; the next one is made with alpha
        create();
        move(at);
        if (region_)
            setMask(*region_);
        if (visible)
            show();
    }
    if (shape == FaceShape::Translucent && blendedFace_.isNull() && region_)
        blendedFace_ = MaskedFace(mainImage_, *region_);
    update();
}

CSkinDialog::~CSkinDialog() = default;

// A skin file that is missing or cannot be read still gives a working window:
// LoadSkin then takes the shipped copy's settings and rows.
bool CSkinDialog::OnInitDialog() {
    if (!skinPath_.empty())
        LoadSkin();
    return true;
}

void CSkinDialog::Report(const std::string& message) const {
    if (reporter_)
        reporter_(message);
    else
        std::fprintf(stderr, "%s\n", message.c_str());
}

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

void CSkinDialog::LoadSkin() {
    ReleaseSkin();
    const CIniFile file(skinPath_);
    // Settings that cannot be read would all be zero: no alarm, every limit at
    // its lowest, healthy rails logged as faults. The shipped copy of the skin
    // stands in, and the user's file is left exactly as it is.
    // A file that does not exist yet is made at exit from the shipped copy
    // with the run's changes; one that exists but cannot be read is never
    // saved over.
    std::optional<CIniFile> shipped;
    const std::string unusable = UnusableSettingsReason(file);
    const bool missing = file.State() == CIniFile::ReadState::Missing;
    if (!unusable.empty()) {
        const std::string name = skinPath_.substr(skinPath_.rfind('/') + 1);
        const std::string_view text =
            ShippedSkinText(name).value_or(ShippedSkinText(kStandardSkinName).value_or(""));
        shipped.emplace(CIniFile::InMemory(skinPath_, text, std::cerr));
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
    }
    const CIniFile& ini = shipped ? *shipped : file;
    if (settings_ != nullptr) {
        LoadSettings(ini, *settings_);
        if (const std::string clamped =
                ClampInterval(*settings_, ini.GetString("Screen", "IntervalTime", ""));
            !clamped.empty())
            Report(skinPath_ + ": " + clamped);
    }
    skin_ = ReadSkin(ini);
    const std::string dir = SkinDirectory(skinPath_);
    const ScreenImages& names = skin_.Screen;

    if (names.Main.empty())
        Report(skinPath_ + ": no face picture (Screen/Main): the window stays plain");
    else
        mainImage_ = SkinImage(dir + names.Main, names.Main);
    const QImage mask = names.Mask.empty() ? QImage() : SkinImage(dir + names.Mask, names.Mask);

    // The mask gives the window's size; without one the face does.
    const QSize pictured = !mask.isNull() ? mask.size() : mainImage_.size();
    if (!pictured.isEmpty()) {
        setFixedSize(pictured);
        raise();
    }
    const QSize size = this->size();

    // A state picture that cannot be read is replaced by the face, which is
    // what a skin that names none gets.
    const std::pair<const std::string*, QImage*> states[] = {
        {&names.Over, &overImage_}, {&names.Down, &downImage_}, {&names.Disabled, &disabledImage_}};
    std::string misfits;
    auto fits = [&](const std::string& name, const QImage& image) {
        if (!image.isNull() && image.size() != size)
            misfits +=
                (misfits.empty() ? "\"" : ", \"") + name + "\" (" + SizeText(image.size()) + ")";
    };
    fits(names.Main, mainImage_);
    for (const auto& [name, image] : states) {
        *image = name->empty() ? QImage() : SkinImage(dir + *name, *name);
        fits(*name, *image);
        if (image->isNull())
            *image = mainImage_;
    }
    if (!misfits.empty())
        Report(skinPath_ + ": pictures not of the window's size (" + SizeText(size) +
               "): " + misfits);

    // A window with a face has no frame: the face is its frame.
    const bool wasVisible = isVisible();
    setWindowFlag(Qt::FramelessWindowHint, !mainImage_.isNull());
    if (wasVisible)
        show();
    MatchBevels();
    // Without a face the window stays a plain rectangle with a frame.
    if (!mask.isNull() && !mainImage_.isNull())
        ApplyMask(mask);

    for (const ButtonInfo& row : skin_.Buttons)
        buttons_.push_back(new CSkinButton(*this, row));
    for (const TextInfo& row : skin_.Texts) {
        if (row.FontFace.empty())
            Report(skinPath_ + ": text field " + row.Name + " names no font: the default is used");
        texts_.push_back(new CSkinText(*this, row));
        FollowExposure(texts_.back());
    }
    for (const SliderInfo& row : skin_.Sliders)
        sliders_.push_back(new CSkinSlider(*this, row, dir));
    CheckPlaces();
    if (!unusable.empty())
        SetFieldText(kHintField, missing ? kMissingSkinHint : kUnreadableSettingsHint);

    // The buttons hold their own pieces of the state pictures; only the face
    // is still painted from.
    overImage_ = downImage_ = disabledImage_ = QImage();
    update();
    imageCache_.clear();
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
        const QRect r = ToQRect(place);
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

void CSkinDialog::ReleaseSkin() {
    // Deleted later: a control may be releasing the skin from its own event.
    for (QWidget* control : buttons_) {
        control->hide();
        control->deleteLater();
    }
    for (QWidget* control : texts_) {
        control->hide();
        control->deleteLater();
    }
    for (QWidget* control : sliders_) {
        control->hide();
        control->deleteLater();
    }
    buttons_.clear();
    texts_.clear();
    sliders_.clear();
    mainImage_ = overImage_ = downImage_ = disabledImage_ = QImage();
    blendedFace_ = QImage();
    if (region_) {
        clearMask();
        region_.reset();
    }
}

bool CSkinDialog::WriteSetting(const std::string& section, const std::string& key,
                               const std::string& value) {
    CIniFile ini(skinPath_);
    return ini.WriteString(section, key, value);
}

void CSkinDialog::SetSliderPosition(const std::string& name, int position) {
    for (CSkinSlider* slider : sliders_) {
        if (slider->Name() == name) {
            slider->SetPos(position);
            return;
        }
    }
}

int CSkinDialog::GetSliderPosition(const std::string& name) const {
    for (const CSkinSlider* slider : sliders_) {
        if (slider->Name() == name)
            return slider->GetPos();
    }
    return 0;
}

void CSkinDialog::SetFieldText(const std::string& name, const std::string& text) {
    for (CSkinText* field : texts_) {
        if (field->Name() == name) {
            field->SetText(QString::fromStdString(text));
            return;
        }
    }
}

void CSkinDialog::OnButtonCommand(const std::string&) {}
void CSkinDialog::OnSliderChanged(const std::string&, int, int) {}
void CSkinDialog::OnTextClicked(const std::string&) {}
void CSkinDialog::OnPointerOver(const std::string&, int, int) {}

void CSkinDialog::OnButtonIndex(int index) {
    for (const CSkinButton* button : buttons_) {
        if (button->Index() == index) {
            const std::string name = button->Name();
            OnButtonCommand(name);
            return;
        }
    }
}

void CSkinDialog::OnSliderIndex(int index, int code, int position) {
    for (const CSkinSlider* slider : sliders_) {
        if (slider->Index() == index) {
            const std::string name = slider->Name();
            OnSliderChanged(name, code, position);
            return;
        }
    }
}

void CSkinDialog::OnTextIndex(int index) {
    for (const CSkinText* text : texts_) {
        if (text->Index() == index) {
            const std::string name = text->Name();
            OnTextClicked(name);
            return;
        }
    }
}

void CSkinDialog::ResetPointerStates() {
    for (CSkinButton* button : buttons_)
        button->ResetPointerState();
    followPointer_ = false;
}

// A modal dialog over the window (blocked) and its end (unblocked) move the
// pointer's events elsewhere and back: no press or light may survive either.
bool CSkinDialog::event(QEvent* event) {
    if (event->type() == QEvent::WindowBlocked || event->type() == QEvent::WindowUnblocked)
        ResetPointerStates();
    return QDialog::event(event);
}

// Only the damaged part of the face is copied; the controls paint themselves
// over it.
void CSkinDialog::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const bool blended = shape_ == FaceShape::Translucent && !blendedFace_.isNull();
    const QImage& image = blended ? blendedFace_ : mainImage_;
    // The face replaces what the window held, alpha included.
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QRect face = image.rect();
    for (const QRect& r : event->region()) {
        const QRect covered = r.intersected(face);
        if (covered != r)
            painter.fillRect(r, kBareColour);
        if (!covered.isEmpty())
            painter.drawImage(covered.topLeft(), image, covered);
    }
}

void CSkinDialog::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        // The window manager moves the window where it can; elsewhere (no
        // window manager, or one without the move request) it follows the
        // pointer until the button comes up.
        QWindow* window = windowHandle();
        followPointer_ = !(window && window->startSystemMove());
        if (followPointer_)
            grabOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
    }
    QDialog::mousePressEvent(event);
}

void CSkinDialog::mouseMoveEvent(QMouseEvent* event) {
    if (followPointer_ && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - grabOffset_);
    QDialog::mouseMoveEvent(event);
    const QPoint pos = event->position().toPoint();
    OnPointerOver(std::string(), pos.x(), pos.y());
}

void CSkinDialog::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        followPointer_ = false;
    QDialog::mouseReleaseEvent(event);
}

} // namespace sentinax
