#include "alerts/ui/CSystemProtectionDlg.h"

namespace sentinax {

int CSystemProtectionDlg::CountdownTicks = 0;

namespace {

CountdownTemplate ProtectionTemplate() {
    CountdownTemplate t;
    t.caption = QStringLiteral("System Protection");
    t.text = QStringLiteral("CPU temperature abnormal !\n  System will Shutdown .");
    t.okText = QStringLiteral("Accept Now");
    t.cancelText = QStringLiteral("Cancel");
    t.size = QSize(285, 71);
    t.textRect = QRect(41, 7, 198, 20);
    t.progressRect = QRect(44, 35, 196, 9);
    t.okRect = QRect(43, 50, 62, 14);
    t.cancelRect = QRect(189, 50, 50, 14);
    return t;
}

} // namespace

CSystemProtectionDlg::CSystemProtectionDlg(QWidget* parent, int intervalMs)
    : CountdownDialog(ProtectionTemplate(), CountdownTicks, parent, intervalMs) {}

} // namespace sentinax
