// The Settings dialog: the sampling interval in whole seconds (3 to 30, a
// slider and a number field that move together) and the alarm sound switch.
// OK stores both in the settings; Cancel, Escape or closing changes nothing.
#pragma once

#include <QDialog>

class QCheckBox;

namespace sentinax {

struct AppSettings;
class CNumericEdit;
class CIntervalSlider;

class CSettingsDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMinimumInterval = 3;
    static constexpr int kMaximumInterval = 30;

    CSettingsDlg(AppSettings& settings, QWidget* parent = nullptr);

    CNumericEdit* IntervalEdit() const { return edit_; }
    CIntervalSlider* IntervalSlider() const { return slider_; }
    QCheckBox* SoundCheck() const { return sound_; }

    void accept() override;

private:
    AppSettings& settings_;
    CNumericEdit* edit_ = nullptr;
    CIntervalSlider* slider_ = nullptr;
    QCheckBox* sound_ = nullptr;
};

} // namespace sentinax
