#include "CSettingsDlg.h"

#include "CIntervalSlider.h"
#include "CNumericEdit.h"

#include "config/AppSettings.h"
#include "config/NumericEditRules.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace sentinax {

namespace {

// The layout is kept in dialog units (a quarter of the font's average
// character width across, an eighth of its height down).
QRect Units(const QFontMetrics& metrics, int x, int y, int width, int height) {
    const double ux = metrics.averageCharWidth() / 4.0;
    const double uy = metrics.height() / 8.0;
    return QRect(int(x * ux), int(y * uy), int(width * ux), int(height * uy));
}

} // namespace

CSettingsDlg::CSettingsDlg(AppSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
    setWindowTitle(QStringLiteral("Settings"));
    const QFontMetrics m(font());
    const QRect frame = Units(m, 0, 0, 229, 86);
    setFixedSize(frame.size());

    auto* label = new QLabel(QStringLiteral("Interval Time (sec) :"), this);
    label->setGeometry(Units(m, 15, 9, 100, 10));
    slider_ = new CIntervalSlider(Qt::Horizontal, this);
    slider_->setObjectName(QStringLiteral("Slider1"));
    slider_->setGeometry(Units(m, 15, 22, 147, 24));
    edit_ = new CNumericEdit(this);
    edit_->setGeometry(Units(m, 172, 28, 34, 13).adjusted(0, -2, 0, 2));
    sound_ = new QCheckBox(QStringLiteral("Sound Warning"), this);
    sound_->setGeometry(Units(m, 17, 52, 65, 10).adjusted(0, -2, 40, 2));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(Units(m, 46, 65, 50, 14));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setGeometry(Units(m, 135, 65, 50, 14));
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
