// The Settings dialog offscreen: typing, the slider, OK and Cancel.
#include "config/AppSettings.h"
#include "config/ui/CIntervalSlider.h"
#include "config/ui/CNumericEdit.h"
#include "config/ui/CSettingsDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <gtest/gtest.h>

namespace sentinax {
namespace {

void Type(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
    }
}

void Key(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

TEST(SettingsDialog, FieldAndSliderMoveTogether) {
    AppSettings settings;
    settings.IntervalTime = 10;
    settings.SoundWarning = 1;
    CSettingsDlg dialog(settings);
    CNumericEdit* edit = dialog.IntervalEdit();
    CIntervalSlider* slider = dialog.IntervalSlider();
    EXPECT_EQ(edit->text(), "10");
    EXPECT_EQ(slider->Pos(), 10);
    EXPECT_EQ(slider->tickInterval(), 2);
    EXPECT_TRUE(dialog.SoundCheck()->isChecked());

    // A drag writes the position into the field.
    slider->setSliderPosition(25);
    slider->triggerAction(QAbstractSlider::SliderMove);
    EXPECT_EQ(edit->text(), "25");
    // The arrow keys move only the slider.
    Key(slider, Qt::Key_Right);
    EXPECT_EQ(slider->Pos(), 26);
    EXPECT_EQ(edit->text(), "25");
    // A page step takes the field along.
    slider->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(edit->text(), QString::number(slider->Pos()));

    // Typing: letters and signs are refused, numbers are held inside 3..30.
    edit->clear(); // empty is 0: pulled up to 3
    EXPECT_EQ(edit->text(), "3");
    edit->selectAll();
    Type(edit, "0");
    EXPECT_EQ(edit->text(), "3");
    edit->selectAll();
    Type(edit, "x-");
    EXPECT_EQ(edit->text(), "3");
    edit->end(false);
    Type(edit, "5");
    EXPECT_EQ(edit->text(), "30"); // 35 is too long an interval
    EXPECT_EQ(slider->Pos(), 30);
    edit->setText("12junk"); // pasted: only the digits stay
    EXPECT_EQ(edit->text(), "12");
    EXPECT_EQ(slider->Pos(), 12);
}

TEST(SettingsDialog, OkStoresCancelKeeps) {
    AppSettings settings;
    settings.IntervalTime = 10;
    settings.SoundWarning = 1;
    {
        CSettingsDlg dialog(settings);
        dialog.IntervalEdit()->setText("25");
        dialog.SoundCheck()->setChecked(false);
        dialog.reject();
    }
    EXPECT_EQ(settings.IntervalTime, 10);
    EXPECT_EQ(settings.SoundWarning, 1);
    {
        CSettingsDlg dialog(settings);
        dialog.IntervalEdit()->setText("25");
        dialog.SoundCheck()->setChecked(false);
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    EXPECT_EQ(settings.IntervalTime, 25);
    EXPECT_EQ(settings.SoundWarning, 0);
}

TEST(SettingsDialog, AStoredIntervalOutsideTheRangeNeverGivesAZeroPeriod) {
    for (int stored : {0, -4, 2, 31, 99999}) {
        AppSettings settings;
        settings.IntervalTime = stored;
        CSettingsDlg dialog(settings);
        dialog.accept();
        EXPECT_GE(settings.IntervalTime, 3) << stored;
        EXPECT_LE(settings.IntervalTime, 30) << stored;
    }
}

} // namespace
} // namespace sentinax
