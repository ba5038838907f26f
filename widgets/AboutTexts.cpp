#include "AboutTexts.h"

#include "config/DialogUnits.h"

namespace sentinax {

namespace {

// The base units of the dialog font: average character width and height.
constexpr int kBaseUnitX = 6;
constexpr int kBaseUnitY = 13;

int HorizontalPixels(int dialogUnits) {
    return DialogUnitsAcross(dialogUnits, kBaseUnitX);
}

int VerticalPixels(int dialogUnits) {
    return DialogUnitsDown(dialogUnits, kBaseUnitY);
}

} // namespace

AboutTextKind ChooseAboutText(HostMode hostMode) {
    return HasCompanion(hostMode) ? AboutTextKind::FrontPanelKit : AboutTextKind::Standard;
}

const std::string& AboutText(AboutTextKind kind) {
    static const std::string standard = "\tSentinax 4\n"
                                        "\n"
                                        "\rProgrammed by:\n"
                                        "Korvane Monitoring Software Team \n"
                                        "\n"
                                        "\rVersion : 4.6.1.1\n"
                                        "\n"
                                        "\rNew feature : \n"
                                        "1. support KX-4100\n"
                                        "\n"
                                        "\rCopyright (C) 2007\n"
                                        "\rKorvane Technology Co., Ltd.\n"
                                        "\rAll rights reserved.\n"
                                        "\n"
                                        "\rwww.korvane.example\n";
    static const std::string frontPanel = "\tSentinax 4\n"
                                          "\n"
                                          "\rProgrammed by:\n"
                                          "Korvane Monitoring Software Team \n"
                                          "\n"
                                          "\rVersion : 4.5.0.1\n"
                                          "\n"
                                          "\rTo optimize System best performance,\n"
                                          "\rplease disable Sentinax\n"
                                          "\rwhen playing multimedia or 3D games.\n"
                                          "\n"
                                          "\rCopyright (C) 2006\n"
                                          "\rKorvane Technology Co., Ltd.\n"
                                          "\rAll rights reserved.\n"
                                          "\n"
                                          "\rwww.korvane.example\n";
    return kind == AboutTextKind::FrontPanelKit ? frontPanel : standard;
}

const std::string& DefaultCreditsText() {
    static const std::string text = "\tCAboutCtrl\n"
                                    "\n"
                                    "\rProgrammed by:\n"
                                    "Korvane Monitoring Software Team\n"
                                    "\n"
                                    "\rCopyright (C) 2007\n"
                                    "\rAll rights reserved.\n"
                                    "\n"
                                    "\rwww.korvane.example\n";
    return text;
}

AboutBoxLayout AboutLayout() {
    // The dialog is 302 x 98 dialog units; its one control sits at (7, 7) and
    // is 288 x 84 units.
    AboutBoxLayout layout;
    layout.Width = HorizontalPixels(302);
    layout.Height = VerticalPixels(98);
    layout.CtrlX = HorizontalPixels(7);
    layout.CtrlY = VerticalPixels(7);
    layout.CtrlWidth = HorizontalPixels(288);
    layout.CtrlHeight = VerticalPixels(84);
    return layout;
}

} // namespace sentinax
