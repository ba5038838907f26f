// The Settings dialog's slider: a page step or a drag writes its position into
// the bound number field; line steps (the arrow keys), Home and End move only
// the slider.
#pragma once

#include <QSlider>
#include <climits>

namespace sentinax {

class CNumericEdit;

class CIntervalSlider : public QSlider {
    Q_OBJECT
public:
    explicit CIntervalSlider(Qt::Orientation orientation, QWidget* parent = nullptr);

    void BindEdit(CNumericEdit* edit) { edit_ = edit; }
    void SetRange(int minimum, int maximum);
    // Moves the thumb to value (mirrored on a vertical slider, whose top end
    // is its maximum).
    void SetPos(int value);
    // The value the thumb stands for.
    int Pos() const;

private:
    void OnAction(int action);

    CNumericEdit* edit_ = nullptr;
    int minimum_ = 0;
    int maximum_ = 100;
    int lastPosition_ = INT_MAX;
    bool reversed_ = false;
};

} // namespace sentinax
