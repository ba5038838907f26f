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
#include "hardware/Reporter.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QPointer>
#include <QWindow>
#include <optional>
#include <sys/stat.h>

namespace sentinax {

namespace {

// What shows where the skin has no face.
const QColor kBareColour(24, 30, 38);

// The control with the row index, among those of one kind; null when none has it.
template <typename Control> Control* ByIndex(const std::vector<Control*>& controls, int index) {
    for (Control* control : controls) {
        if (control->Index() == index)
            return control;
    }
    return nullptr;
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
            QMetaObject::invokeMethod(
                this, [this] { repaint(); }, Qt::QueuedConnection);
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
        ReportMessage(MessagePriority::Warning, message);
}

// The controls of the rows, each wired to the operation its signal reports to.
void CSkinDialog::CreateControls(const std::string& dir) {
    const ButtonPictures pictures{mainImage_, overImage_, downImage_, disabledImage_};
    for (const ButtonInfo& row : skin_.Buttons) {
        auto* button = new CSkinButton(row, pictures, this);
        connect(button, &CSkinButton::buttonClicked, this, &CSkinDialog::OnButtonIndex);
        connect(button, &CSkinButton::pointerOver, this,
                [this](int index, int x, int y) { PointerOverControl(buttons_, index, x, y); });
        buttons_.push_back(button);
    }
    for (const TextInfo& row : skin_.Texts) {
        if (row.FontFace.empty())
            Report(skinPath_ + ": text field " + row.Name + " names no font: the default is used");
        auto* text = new CSkinText(row, mainImage_, this);
        connect(text, &CSkinText::textClicked, this, &CSkinDialog::OnTextIndex);
        connect(text, &CSkinText::pointerOver, this,
                [this](int index, int x, int y) { PointerOverControl(texts_, index, x, y); });
        texts_.push_back(text);
        FollowExposure(text);
    }
    for (const SliderInfo& row : skin_.Sliders) {
        const QImage thumb = SkinImage(dir + row.ThumbImage, row.ThumbImage);
        const QImage dragged = SkinImage(dir + row.ThumbDragImage, row.ThumbDragImage);
        auto* slider = new CSkinSlider(row, mainImage_, thumb, dragged, this);
        connect(slider, &CSkinSlider::sliderChanged, this, &CSkinDialog::OnSliderIndex);
        connect(slider, &CSkinSlider::pointerOver, this,
                [this](int index, int x, int y) { PointerOverControl(sliders_, index, x, y); });
        sliders_.push_back(slider);
    }
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
    const CSkinButton* button = ByIndex(buttons_, index);
    if (button == nullptr)
        return;
    const std::string name = button->Name();
    QPointer<CSkinDialog> alive(this);
    OnButtonCommand(name);
    // The command may have run a menu or a dialog: whatever pointer state the
    // face's buttons held from before it is stale now.
    if (alive)
        ResetPointerStates();
}

void CSkinDialog::OnSliderIndex(int index, int code, int position) {
    if (const CSkinSlider* slider = ByIndex(sliders_, index)) {
        const std::string name = slider->Name();
        OnSliderChanged(name, code, position);
    }
}

void CSkinDialog::OnTextIndex(int index) {
    if (const CSkinText* text = ByIndex(texts_, index)) {
        const std::string name = text->Name();
        OnTextClicked(name);
    }
}

template <typename Control>
void CSkinDialog::PointerOverControl(const std::vector<Control*>& controls, int index, int x,
                                     int y) {
    if (const Control* control = ByIndex(controls, index)) {
        const std::string name = control->Name();
        OnPointerOver(name, x, y);
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
