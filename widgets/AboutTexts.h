// The texts of the About box, in the credits grammar of CreditsLayout.h
// (a leading tab marks a heading, a leading "\r" a sub-heading).
#pragma once

#include "hardware/HostMode.h"

#include <string>

namespace sentinax {

enum class AboutTextKind {
    Standard,      // text A: the current release and its new board
    FrontPanelKit, // text B: boards shipped with a front-panel companion
};

// Text B for boards the board table gives a companion library (host mode 2,
// the front panel, or 3, the panel display), whether or not it could be
// loaded; text A for every other board.
AboutTextKind ChooseAboutText(HostMode hostMode);

const std::string& AboutText(AboutTextKind kind);

// The text of a credits control nobody gave a text to.
const std::string& DefaultCreditsText();

// The About box's layout in pixels, from its layout in dialog units with the
// base units of its 8-point dialog font (6 x 13 pixels at 96 dpi).
struct AboutBoxLayout {
    int Width = 0, Height = 0; // the dialog's client area
    int CtrlX = 0, CtrlY = 0;  // the credits control
    int CtrlWidth = 0, CtrlHeight = 0;
};
AboutBoxLayout AboutLayout();

} // namespace sentinax
