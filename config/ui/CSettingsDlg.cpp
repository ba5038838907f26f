#include "CSettingsDlg.h"

#include "CIntervalSlider.h"
#include "CNumericEdit.h"
#include "DialogFont.h"

#include "config/AppSettings.h"
#include "config/NumericEditRules.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace sentinax {

CSettingsDlg::CSettingsDlg(AppSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
    setWindowTitle(QStringLiteral("Settings"));
    // The layout is kept in dialog units.
    const QSize base = DialogBaseUnits(font());
    const auto units = [&base](int x, int y, int width, int height) {
        return MapDialogRect(QRect(x, y, width, height), base);
    };
    const QRect frame = units(0, 0, 229, 86);
    setFixedSize(frame.size());

    auto* label = new QLabel(QStringLiteral("Interval Time (sec) :"), this);
    label->setGeometry(units(15, 9, 100, 10));
    slider_ = new CIntervalSlider(Qt::Horizontal, this);
    slider_->setObjectName(QStringLiteral("Slider1"));
    slider_->setGeometry(units(15, 22, 147, 24));
    edit_ = new CNumericEdit(this);
    edit_->setGeometry(units(172, 28, 34, 13).adjusted(0, -2, 0, 2));
    sound_ = new QCheckBox(QStringLiteral("Sound Warning"), this);
    sound_->setGeometry(units(17, 52, 65, 10).adjusted(0, -2, 40, 2));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(units(46, 65, 50, 14));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setGeometry(units(135, 65, 50, 14));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    setTabOrder(slider_, edit_);
    setTabOrder(edit_, sound_);
    setTabOrder(sound_, ok);
    setTabOrder(ok, cancel);

    edit_->Bind(slider_);
    edit_->Init(kMinimumInterval, kMaximumInterval, 10);
    // An interval stored outside the range (a hand-edited or missing setting)
    // is shown at the nearest end, so that OK can never store a period of
    // zero or less.
    edit_->SetValue(std::clamp(settings_.IntervalTime, kMinimumInterval, kMaximumInterval));
    sound_->setChecked(settings_.SoundWarning != 0);
}

void CSettingsDlg::accept() {
    const HeldValue interval =
        HoldInRange(edit_->text().toStdString(), kMinimumInterval, kMaximumInterval);
    settings_.IntervalTime = interval.Value;
    settings_.SoundWarning = sound_->isChecked() ? 1 : 0;
    QDialog::accept();
}

} // namespace sentinax
