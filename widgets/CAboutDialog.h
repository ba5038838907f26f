// The About box: a small modal dialog whose only content is the credits
// control over the About picture. It closes with its close box or Escape.
//
//     CAboutDialog about(this, profile.HostMode);
//     about.exec();
#pragma once

#include "AboutTexts.h"

#include <QDialog>

namespace sentinax {

class CAboutCtrl;

class CAboutDialog : public QDialog {
public:
    // hostMode is the board's host mode from the board table: boards given a
    // companion library (2 or 3) show the front-panel text, all others the
    // standard one (AboutTexts.h).
    explicit CAboutDialog(QWidget* parent = nullptr, HostMode hostMode = HostMode::None);

    AboutTextKind TextKind() const { return kind_; }
    CAboutCtrl& Credits() { return *credits_; }

private:
    AboutTextKind kind_;
    CAboutCtrl* credits_;
};

} // namespace sentinax
