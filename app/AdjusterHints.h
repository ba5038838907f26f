// The face's hint line and its limit adjusters: a moved adjuster becomes the
// item's setting (marked changed, so the clean-up saves it) and its limit, and
// the line says the limit in words; the pointer over a control shows that
// control's hint; standing messages (no tray, unreadable settings, library
// notices) stay until their cause goes or the user acts.
#pragma once

#include "MonitorView.h"

#include "config/AppSettings.h"
#include "config/Thresholds.h"
#include "skin/HintLine.h"

#include <string>

namespace sentinax {

class CpuProtection;
struct BoardProfile;

class AdjusterHints {
public:
    // All must outlive this object; limits is the controller's, which the
    // next evaluation uses.
    AdjusterHints(AppSettings& settings, MonitorView& view, Thresholds& limits,
                  const BoardProfile& profile, CpuProtection& protection)
        : settings_(settings), view_(view), limits_(limits), profile_(profile),
          protection_(protection) {}

    // A limit adjuster moved (while dragged and when released): its position
    // is read back by name. Any other name changes nothing.
    void OnAdjusterChanged(const std::string& name);
    // The pointer moved over the named control (empty: the face itself).
    void OnHint(const std::string& name);
    // The user clicked a face button: messages that waited for it go.
    void UserActed() { line_.UserActed(); }
    // A standing message, shown at once; Remember keeps it without showing.
    void SetStanding(StandingHint kind, const std::string& text);
    void Remember(StandingHint kind, const std::string& text) { line_.Set(kind, text); }
    void ClearStanding(StandingHint kind);
    // Shows the standing message, if any, as the face starts.
    void ShowStanding();

private:
    AppSettings& settings_;
    MonitorView& view_;
    Thresholds& limits_;
    const BoardProfile& profile_;
    CpuProtection& protection_;
    HintLine line_;
};

} // namespace sentinax
