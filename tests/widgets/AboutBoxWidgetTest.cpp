#include "CAboutCtrl.h"
#include "CAboutDialog.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace sentinax {
namespace {

bool RowIsWhite(const QImage& image, int y) {
    for (int x = 0; x < image.width(); ++x)
        if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
            return false;
    return true;
}

bool RowsHaveInk(const QImage& image, int top, int bottom) {
    for (int y = top; y < bottom; ++y)
        if (!RowIsWhite(image, y))
            return true;
    return false;
}

TEST(AboutBoxWidget, DialogShowsTheChosenTextOverThePicture) {
    CAboutDialog standard(nullptr, HostMode::None);
    EXPECT_EQ(standard.windowTitle(), QStringLiteral("About Sentinax 4"));
    EXPECT_EQ(standard.size(), QSize(453, 159));
    EXPECT_EQ(standard.Credits().geometry(), QRect(11, 11, 432, 137));
    EXPECT_EQ(standard.TextKind(), AboutTextKind::Standard);
    EXPECT_EQ(standard.Credits().CreditsText(), AboutText(AboutTextKind::Standard));
    EXPECT_EQ(standard.Credits().Picture().size(), QSize(428, 134)) << "the shipped background";
    EXPECT_EQ(standard.Credits().CreditsY(), 137) << "the text starts below the bottom edge";

    CAboutDialog panel(nullptr, HostMode::PanelDisplay);
    EXPECT_EQ(panel.TextKind(), AboutTextKind::FrontPanelKit);
    EXPECT_EQ(panel.Credits().CreditsText(), AboutText(AboutTextKind::FrontPanelKit));

    EXPECT_FALSE(standard.Credits().IsScrolling()) << "nothing moves before it is shown";
    standard.show();
    EXPECT_TRUE(standard.Credits().IsScrolling());
    // Painting shows the composed picture, and window colour beyond its edges.
    const QImage shot = standard.Credits().grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shot.size(), QSize(432, 137));
    EXPECT_EQ(shot.copy(0, 0, 428, 134), standard.Credits().BackBuffer());
    EXPECT_EQ(shot.pixelColor(430, 136), standard.Credits().palette().color(QPalette::Window));
    standard.hide();
    EXPECT_FALSE(standard.Credits().IsScrolling());
}

TEST(AboutBoxWidget, CreditsAreRenderedOnceLineByLine) {
    QWidget parent;
    CAboutCtrl ctrl;
    ctrl.SetCreditsText("\tHeading\n\nbody text\n\rsub\n");
    ctrl.Attach(&parent, QRect(0, 0, 432, 137));
    ctrl.SetCreditsText("\tchanged later\n");
    const QImage& credits = ctrl.CreditsSurface();
    ASSERT_EQ(credits.size(), QSize(220, 300));
    // Heading 0-20 (blue ink), empty body line 20-34, body 34-48, sub 48-62.
    EXPECT_TRUE(RowsHaveInk(credits, 0, 20));
    EXPECT_FALSE(RowsHaveInk(credits, 20, 34)) << "an empty line is a gap of body height";
    EXPECT_TRUE(RowsHaveInk(credits, 34, 48));
    EXPECT_TRUE(RowsHaveInk(credits, 48, 62));
    EXPECT_FALSE(RowsHaveInk(credits, 62, 300));
    bool blue = false;
    for (int y = 0; y < 20 && !blue; ++y)
        for (int x = 0; x < 220 && !blue; ++x) {
            const QColor c = credits.pixelColor(x, y);
            blue = c.blue() > 180 && c.red() < 80;
        }
    EXPECT_TRUE(blue) << "the heading is drawn in its blue";

    // The standard texts fit the surface's width: no line is cut at the right.
    for (AboutTextKind kind : {AboutTextKind::Standard, AboutTextKind::FrontPanelKit}) {
        CAboutCtrl about;
        about.SetCreditsText(AboutText(kind));
        about.Attach(&parent, QRect(0, 0, 432, 137));
        const QImage& surface = about.CreditsSurface();
        for (int y = 0; y < 300; ++y)
            EXPECT_EQ(surface.pixel(219, y) & 0xFFFFFF, 0xFFFFFFu) << "row " << y;
    }
}

// Each tick shows picture AND credits inside the text's rectangle, the bare
// picture everywhere else, then moves the text up one pixel.
TEST(AboutBoxWidget, EachTickAndsTheCreditsOntoThePicture) {
    CAboutDialog dialog(nullptr, HostMode::None);
    CAboutCtrl& ctrl = dialog.Credits();
    for (int i = 0; i < 137 + 60; ++i)
        ctrl.AnimationStep();
    const int shownAt = ctrl.CreditsY() + 1; // the step composes, then moves
    EXPECT_EQ(shownAt, -59);
    const QImage& back = ctrl.BackBuffer();
    const QImage& picture = ctrl.Picture();
    const QImage& credits = ctrl.CreditsSurface();
    int inked = 0;
    for (int y = 0; y < 134; ++y) {
        for (int x = 0; x < 428; ++x) {
            const QRgb seen = back.pixel(x, y) & 0xFFFFFF;
            QRgb want = picture.pixel(x, y) & 0xFFFFFF;
            if (x >= 194 && x < 414)
                want &= credits.pixel(x - 194, y - shownAt) & 0xFFFFFF;
            ASSERT_EQ(seen, want) << x << ',' << y;
            inked += seen != (picture.pixel(x, y) & 0xFFFFFF);
        }
    }
    EXPECT_GT(inked, 200) << "text is visible";
    for (int i = 0; i < 300 - 59; ++i)
        ctrl.AnimationStep();
    EXPECT_EQ(ctrl.CreditsY(), 137) << "wrapped to the bottom";
    ctrl.AnimationStep();
    EXPECT_EQ(ctrl.BackBuffer(), picture) << "no text below the bottom";
}

} // namespace
} // namespace sentinax
