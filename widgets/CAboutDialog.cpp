#include "CAboutDialog.h"

#include "CAboutCtrl.h"

namespace sentinax {

CAboutDialog::CAboutDialog(QWidget* parent, HostMode hostMode)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      kind_(ChooseAboutText(hostMode)), credits_(new CAboutCtrl) {
    setWindowTitle(QStringLiteral("About Sentinax 4"));
    setModal(true);
    const AboutBoxLayout layout = AboutLayout();
    setFixedSize(layout.Width, layout.Height);
    credits_->SetCreditsText(AboutText(kind_));
    credits_->Attach(this, QRect(layout.CtrlX, layout.CtrlY, layout.CtrlWidth, layout.CtrlHeight));
}

} // namespace sentinax
