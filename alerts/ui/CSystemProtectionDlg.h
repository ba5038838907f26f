// The over-temperature warning: counts down 30 seconds to the shutdown.
// exec() returns QDialog::Accepted for "Accept Now", Enter or the end of the
// countdown, and QDialog::Rejected for "Cancel" or Escape; the caller turns
// Accepted into ShutdownSystem(). Run from inside the monitoring tick: its
// nested event loop keeps the main window's timers firing.
#pragma once

#include "alerts/ui/CountdownDialog.h"

namespace sentinax {

class CSystemProtectionDlg : public CountdownDialog {
    Q_OBJECT
public:
    // parent: the main window (may be null); intervalMs: one countdown step.
    explicit CSystemProtectionDlg(QWidget* parent = nullptr, int intervalMs = kTickIntervalMs);

    // Countdown steps of the dialog that is or was last open; 0 at each
    // opening, 30 when the countdown ran out. Process-wide.
    static int CountdownTicks;
};

} // namespace sentinax
