#include "alerts/ui/CSystemProtectionDlg.h"

namespace sentinax {

int CSystemProtectionDlg::CountdownTicks = 0;

CSystemProtectionDlg::CSystemProtectionDlg(QWidget* parent, int intervalMs)
    : CountdownDialog({QStringLiteral("System Protection"),
                       QStringLiteral("CPU temperature abnormal !\n  System will Shutdown ."),
                       QStringLiteral("Accept Now"), QStringLiteral("Cancel"), QSize(285, 71),
                       QRect(41, 7, 198, 20), QRect(44, 35, 196, 9), QRect(43, 50, 62, 14),
                       QRect(189, 50, 50, 14)},
                      CountdownTicks, parent, intervalMs) {}

} // namespace sentinax
