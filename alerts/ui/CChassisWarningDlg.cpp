#include "alerts/ui/CChassisWarningDlg.h"

namespace sentinax {

int CChassisWarningDlg::CountdownTicks = 0;

CChassisWarningDlg::CChassisWarningDlg(QWidget* parent, int intervalMs)
    : CountdownDialog({QStringLiteral("Chassis Intrusion Warning"),
                       QStringLiteral("Chassis Abnormal !!\nPlease reset it  , and check chassis "
                                      "status !"),
                       QStringLiteral("Reset Now !"), QStringLiteral("Cancel"), QSize(187, 78),
                       QRect(13, 13, 158, 21), QRect(22, 42, 147, 6), QRect(34, 57, 50, 14),
                       QRect(108, 57, 50, 14)},
                      CountdownTicks, parent, intervalMs) {}

} // namespace sentinax
