#include "CIntervalSlider.h"

#include "CNumericEdit.h"

#include "config/NumericEditRules.h"

namespace sentinax {

namespace {

SliderAction ActionOf(int action) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
    case QAbstractSlider::SliderSingleStepSub:
        return SliderAction::Step;
    case QAbstractSlider::SliderPageStepAdd:
    case QAbstractSlider::SliderPageStepSub:
        return SliderAction::Page;
    case QAbstractSlider::SliderMove:
        return SliderAction::Drag;
    default:
        return SliderAction::JumpOrEnd;
    }
}

} // namespace

CIntervalSlider::CIntervalSlider(Qt::Orientation orientation, QWidget* parent)
    : QSlider(orientation, parent), reversed_(orientation == Qt::Vertical) {
    setTickPosition(QSlider::TicksBelow);
    setPageStep(5);
    connect(this, &QAbstractSlider::actionTriggered, this, &CIntervalSlider::OnAction);
}

void CIntervalSlider::SetRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
    setRange(minimum, maximum);
}

void CIntervalSlider::SetPos(int value) {
    lastPosition_ = value;
    setSliderPosition(reversed_ ? Mirrored(value, minimum_, maximum_) : value);
}

int CIntervalSlider::Pos() const {
    return reversed_ ? Mirrored(value(), minimum_, maximum_) : value();
}

// Emitted before the value is applied; sliderPosition() is already the new one.
void CIntervalSlider::OnAction(int action) {
    if (!FieldFollows(ActionOf(action)))
        return;
    const int raw = sliderPosition();
    const int position = reversed_ ? Mirrored(raw, minimum_, maximum_) : raw;
    lastPosition_ = position;
    if (edit_ && edit_->Value() != position)
        edit_->SetValue(position);
}

} // namespace sentinax
