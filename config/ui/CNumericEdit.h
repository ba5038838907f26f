// The Settings dialog's number field: only digits (and control keys) can be
// typed, anything else is refused with a beep; a number outside the range is
// pulled back to the nearest end with a beep; the bound slider follows every
// change of the text.
#pragma once

#include <QLineEdit>
#include <climits>

namespace sentinax {

class CIntervalSlider;

class CNumericEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CNumericEdit(QWidget* parent = nullptr);

    // Links this field and the slider both ways.
    void Bind(CIntervalSlider* slider);
    // The range, and the slider's range with a tick mark every
    // (maximum - minimum) / tickDivisor positions.
    void Init(int minimum, int maximum, int tickDivisor);
    // Writes value as text when it lies in the range; false (nothing written)
    // otherwise.
    bool SetValue(int value);
    // The number the text stands for now (its leading digits).
    int Value() const;

    int Minimum() const { return minimum_; }
    int Maximum() const { return maximum_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnTextChanged(const QString& text);

    CIntervalSlider* slider_ = nullptr;
    uint16_t mask_ = 1;
    int minimum_ = 0;
    int maximum_ = 100;
    int tickDivisor_ = 10;
    int current_ = INT_MIN; // the value last written; INT_MIN: none yet
    bool rewriting_ = false;
};

} // namespace sentinax
