#include "CreditsLayout.h"
#include "AboutTexts.h"
#include "PictureSize.h"

#include <gtest/gtest.h>

namespace sentinax {
namespace {

using Kind = CreditsLineKind;

TEST(CreditsLayout, LinesFollowTheGrammarAndStackByFontHeight) {
    const auto lines = LayoutCredits("\tHead\ting\r\n\n\rSub\r head\tx\nbody\r\n\r\n");
    struct Want {
        Kind kind;
        std::string text;
        int top;
    };
    const Want want[] = {
        {Kind::Heading, "Heading\r", 0},       // every tab goes, the carriage return stays
        {Kind::Body, "", 20},                  // an empty line is body text
        {Kind::SubHeading, "Sub head\tx", 34}, // every "\r" goes, the tab stays
        {Kind::Body, "body\r", 48},            // a carriage return later in the line
        {Kind::SubHeading, "", 62},            // "\r" alone: an empty sub-heading
        {Kind::Body, "", 76},                  // the final line feed's empty line
    };
    ASSERT_EQ(lines.size(), std::size(want));
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].Kind, want[i].kind) << i;
        EXPECT_EQ(lines[i].Text, want[i].text) << i;
        EXPECT_EQ(lines[i].Top, want[i].top) << i;
        EXPECT_EQ(lines[i].Height, lines[i].Kind == Kind::Heading ? 20 : 14) << i;
    }
}

TEST(CreditsLayout, TextBelowTheSurfaceIsDropped) {
    std::string text = "\tTitle\n";
    for (int i = 0; i < 40; ++i)
        text += "line\n";
    const auto lines = LayoutCredits(text);
    // 20 + 20 x 14 = 300: the 21st body line would start on row 300.
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines.back().Top, 286);
    EXPECT_EQ(LayoutCredits("").size(), 1u) << "an empty text is one empty line";
}

TEST(CreditsLayout, BlitShowsTheTextOnlyAboveRow200AndInsideTheControl) {
    struct Case {
        const char* why;
        int creditsY, controlHeight;
        int destY, sourceY, height; // height 0: nothing shown
    };
    const Case cases[] = {
        {"text just below the control", 137, 137, 0, 0, 0},
        {"first row enters", 136, 137, 136, 0, 1},
        {"half way up", 60, 137, 60, 0, 77},
        {"scrolled past the top", -50, 137, 0, 50, 137},
        {"last row leaves", -299, 137, 0, 299, 1},
        {"gone", -300, 137, 0, 0, 0},
        {"tall control, text at the top", 0, 400, 0, 0, 200},
        {"tall control, text below row 200", 250, 400, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const CreditsBlit blit = CreditsBlitAt(c.creditsY, c.controlHeight);
        EXPECT_EQ(blit.Height, c.height) << c.why;
        if (c.height == 0)
            continue;
        EXPECT_EQ(blit.DestX, 194) << c.why;
        EXPECT_EQ(blit.Width, 220) << c.why;
        EXPECT_EQ(blit.DestY, c.destY) << c.why;
        EXPECT_EQ(blit.SourceY, c.sourceY) << c.why;
    }
}

TEST(CreditsLayout, ScrollWrapsToTheBottomOnceTheSurfaceHasLeft) {
    CreditsScroll scroll(137);
    EXPECT_EQ(scroll.CreditsY(), 137);
    for (int i = 0; i < 137 + 300; ++i)
        scroll.Step();
    EXPECT_EQ(scroll.CreditsY(), -300);
    scroll.Step();
    EXPECT_EQ(scroll.CreditsY(), 137) << "one pass is 438 ticks of 40 ms";
}

TEST(AboutTexts, TextBIsForBoardsWithACompanionLibrary) {
    EXPECT_EQ(ChooseAboutText(HostMode::None), AboutTextKind::Standard);
    EXPECT_EQ(ChooseAboutText(static_cast<HostMode>(1)), AboutTextKind::Standard);
    EXPECT_EQ(ChooseAboutText(HostMode::FrontPanel), AboutTextKind::FrontPanelKit);
    EXPECT_EQ(ChooseAboutText(HostMode::PanelDisplay), AboutTextKind::FrontPanelKit);
}

// The kinds of the two texts' lines, line by line (H heading, S sub-heading,
// b body), and that each fits the credits surface.
TEST(AboutTexts, LineKindsFollowTheLayoutOfBothTexts) {
    auto kinds = [](const std::string& text) {
        std::string s;
        for (const auto& line : LayoutCredits(text))
            s += line.Kind == Kind::Heading ? 'H' : line.Kind == Kind::SubHeading ? 'S' : 'b';
        return s;
    };
    EXPECT_EQ(kinds(AboutText(AboutTextKind::Standard)), "HbSbbSbSbbSSSbSb");
    EXPECT_EQ(kinds(AboutText(AboutTextKind::FrontPanelKit)), "HbSbbSbSSSbSSSbSb");
    const auto b = LayoutCredits(AboutText(AboutTextKind::FrontPanelKit));
    EXPECT_LE(b.back().Top + b.back().Height, 300) << "the longer text fits the surface";
    const auto fallback = LayoutCredits(DefaultCreditsText());
    EXPECT_EQ(fallback[0].Kind, Kind::Heading);
    EXPECT_EQ(fallback[0].Text, "CAboutCtrl");
}

TEST(AboutTexts, DialogUnitsBecomeThePicturesFrame) {
    const AboutBoxLayout layout = AboutLayout();
    EXPECT_EQ(layout.Width, 453);
    EXPECT_EQ(layout.Height, 159);
    EXPECT_EQ(layout.CtrlX, 11);
    EXPECT_EQ(layout.CtrlY, 11);
    EXPECT_EQ(layout.CtrlWidth, 432);
    EXPECT_EQ(layout.CtrlHeight, 137);
}

TEST(PictureSize, PhysicalSizeAtTheScreensResolution) {
    struct Case {
        const char* why;
        int pixels, dotsPerMetre, screenDpi, want;
    };
    const Case cases[] = {
        {"96 dpi file on a 96 dpi screen", 428, 3780, 96, 428},
        {"no resolution stored counts as 96 dpi", 428, 0, 96, 428},
        {"300 dpi file is shown at its size in inches", 3000, 11811, 96, 960},
        {"96 dpi file on a 144 dpi screen", 100, 3780, 144, 150},
        {"tiny resolution is capped", 4000, 1, 96, 4096},
        {"one pixel stays visible", 1, 1000000, 96, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScreenPixels(PictureHimetric(c.pixels, c.dotsPerMetre), c.screenDpi, 4096),
                  c.want)
            << c.why;
    EXPECT_EQ(RoundedMulDiv(7, 13, 8), 11);
    EXPECT_EQ(RoundedMulDiv(-7, 13, 8), -11);
    EXPECT_EQ(RoundedMulDiv(1, 1, 0), 0);
}

} // namespace
} // namespace sentinax
