#include "alerts/ui/CChassisWarningDlg.h"

namespace sentinax {

int CChassisWarningDlg::CountdownTicks = 0;

namespace {

CountdownTemplate ChassisTemplate() {
    CountdownTemplate t;
    t.caption = QStringLiteral("Chassis Intrusion Warning");
    t.text = QStringLiteral("Chassis Abnormal !!\nPlease reset it  , and check chassis status !");
    t.okText = QStringLiteral("Reset Now !");
    t.cancelText = QStringLiteral("Cancel");
    t.size = QSize(187, 78);
    t.textRect = QRect(13, 13, 158, 21);
    t.progressRect = QRect(22, 42, 147, 6);
    t.okRect = QRect(34, 57, 50, 14);
    t.cancelRect = QRect(108, 57, 50, 14);
    return t;
}

} // namespace

CChassisWarningDlg::CChassisWarningDlg(QWidget* parent, int intervalMs)
    : CountdownDialog(ChassisTemplate(), CountdownTicks, parent, intervalMs) {}

} // namespace sentinax
