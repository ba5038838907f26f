// The chassis intrusion warning: asks to reset the latch and counts down 30
// seconds. exec() returns QDialog::Accepted for "Reset Now !", Enter or the end
// of the countdown (the caller then clears the latch), QDialog::Rejected for
// "Cancel" or Escape. Run from inside the monitoring tick, like the
// over-temperature dialog; the two may be open at the same time.
#pragma once

#include "alerts/ui/CountdownDialog.h"

namespace sentinax {

class CChassisWarningDlg : public CountdownDialog {
    Q_OBJECT
public:
    // parent: the main window (may be null); intervalMs: one countdown step.
    explicit CChassisWarningDlg(QWidget* parent = nullptr, int intervalMs = kTickIntervalMs);

    // Countdown steps of the dialog that is or was last open; 0 at each
    // opening. Process-wide, separate from the over-temperature dialog's.
    static int CountdownTicks;
};

} // namespace sentinax
