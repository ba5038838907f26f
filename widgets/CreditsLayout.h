// The arithmetic of the About box's scrolling credits: which line is drawn
// where on the credits surface, where the text stands in the control after
// each tick, and which part of the surface a tick shows.
//
// Credits text grammar: the text is split at every "\n" (two in a row give an
// empty line, a final one a final empty line). A line whose first character is
// a tab is a heading (every tab removed); otherwise one whose first character
// is "\r" is a sub-heading (every "\r" removed); every other line, empty ones
// included, is body text. Lines stack from the top, each advancing by its
// font's cell height; what starts below the surface is dropped.
#pragma once

#include <string>
#include <vector>

namespace sentinax {

enum class CreditsLineKind { Heading, SubHeading, Body };

struct CreditsLine {
    CreditsLineKind Kind = CreditsLineKind::Body;
    std::string Text; // without the marking tabs or carriage returns
    int Top = 0;      // pixels from the top of the credits surface
    int Height = 0;   // the font's cell height, pixels
};

// The credits surface and where it scrolls in the control (pixels).
struct CreditsGeometry {
    static constexpr int kSurfaceWidth = 220;
    static constexpr int kSurfaceHeight = 300;
    static constexpr int kLeft = 194;      // left edge of the text in the control
    static constexpr int kLowestRow = 200; // the text is never shown at or below this row
    static constexpr int kHeadingHeight = 20;
    static constexpr int kSubHeadingHeight = 14;
    static constexpr int kBodyHeight = 14;
    static constexpr int kTickMs = 40;
};

int CreditsLineHeight(CreditsLineKind kind);

// Splits and places the lines of a credits text.
std::vector<CreditsLine> LayoutCredits(const std::string& text);

// Where the credits surface is combined into the control on one tick: the
// destination rectangle (control pixels) and the matching source row.
// Empty (Height 0) when nothing of the text is visible.
struct CreditsBlit {
    int DestX = 0, DestY = 0;
    int SourceY = 0;
    int Width = 0, Height = 0;
};

// creditsY is the text's top edge in a control of height controlHeight.
CreditsBlit CreditsBlitAt(int creditsY, int controlHeight);

// The text's vertical position: starts at the control's bottom edge, moves up
// one pixel per tick and starts again from the bottom once the whole surface
// has left the top.
class CreditsScroll {
public:
    explicit CreditsScroll(int controlHeight = 0)
        : controlHeight_(controlHeight), creditsY_(controlHeight) {}
    int CreditsY() const { return creditsY_; }
    void Step();

private:
    int controlHeight_;
    int creditsY_;
};

} // namespace sentinax
