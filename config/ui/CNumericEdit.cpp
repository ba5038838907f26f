#include "CNumericEdit.h"

#include "CIntervalSlider.h"

#include "config/NumericEditRules.h"

#include <QApplication>
#include <QKeyEvent>

namespace sentinax {

CNumericEdit::CNumericEdit(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textChanged, this, &CNumericEdit::OnTextChanged);
}

void CNumericEdit::Bind(CIntervalSlider* slider) {
    slider_ = slider;
    if (slider_)
        slider_->BindEdit(this);
}

void CNumericEdit::Init(int minimum, int maximum, int tickDivisor) {
    minimum_ = minimum;
    maximum_ = maximum;
    tickDivisor_ = tickDivisor;
    mask_ = AcceptedMask(minimum);
    if (slider_) {
        slider_->SetRange(minimum, maximum);
        slider_->setTickInterval(TickSpacing(minimum, maximum, tickDivisor));
    }
}

bool CNumericEdit::SetValue(int value) {
    if (value < minimum_ || value > maximum_)
        return false;
    if (value != current_) {
        current_ = value;
        setText(QString::number(value));
    }
    return true;
}

int CNumericEdit::Value() const {
    return static_cast<int>(
        std::clamp<int64_t>(LeadingNumber(text().toStdString()), INT_MIN, INT_MAX));
}

void CNumericEdit::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    // Keys without text (arrows, Home, Delete...) edit as usual.
    for (const QChar c : typed) {
        if (!CharacterAccepted(c.unicode(), mask_)) {
            QApplication::beep();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

// Every change of the text, typed, pasted or written: the slider follows, and a
// number outside the range is written back as the nearest end.
void CNumericEdit::OnTextChanged(const QString& text) {
    if (rewriting_)
        return;
    QString kept;
    for (const QChar c : text) {
        if (CharacterAccepted(c.unicode(), mask_) && c.unicode() >= 32)
            kept += c;
    }
    const HeldValue held = HoldInRange(kept.toStdString(), minimum_, maximum_);
    if (held.Clamped || kept != text)
        QApplication::beep();
    if (slider_)
        slider_->SetPos(held.Value);
    if (held.Clamped || kept != text) {
        rewriting_ = true;
        current_ = INT_MIN; // so that the rewrite always happens
        if (held.Clamped)
            SetValue(held.Value);
        else
            setText(kept);
        rewriting_ = false;
    } else {
        current_ = held.Value;
    }
}

} // namespace sentinax
