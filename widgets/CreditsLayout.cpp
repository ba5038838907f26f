#include "CreditsLayout.h"

#include <algorithm>

namespace sentinax {

namespace {

std::string Without(std::string text, char removed) {
    text.erase(std::remove(text.begin(), text.end(), removed), text.end());
    return text;
}

} // namespace

int CreditsLineHeight(CreditsLineKind kind) {
    switch (kind) {
    case CreditsLineKind::Heading:
        return CreditsGeometry::kHeadingHeight;
    case CreditsLineKind::SubHeading:
        return CreditsGeometry::kSubHeadingHeight;
    case CreditsLineKind::Body:
        break;
    }
    return CreditsGeometry::kBodyHeight;
}

std::vector<CreditsLine> LayoutCredits(const std::string& text) {
    std::vector<CreditsLine> lines;
    int top = 0;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find('\n', start);
        const std::string raw =
            text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (top >= CreditsGeometry::kSurfaceHeight)
            break;
        CreditsLine line;
        if (!raw.empty() && raw.front() == '\t') {
            line.Kind = CreditsLineKind::Heading;
            line.Text = Without(raw, '\t');
        } else if (!raw.empty() && raw.front() == '\r') {
            line.Kind = CreditsLineKind::SubHeading;
            line.Text = Without(raw, '\r');
        } else {
            line.Text = raw;
        }
        line.Top = top;
        line.Height = CreditsLineHeight(line.Kind);
        top += line.Height;
        lines.push_back(std::move(line));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return lines;
}

CreditsBlit CreditsBlitAt(int creditsY, int controlHeight) {
    CreditsBlit blit;
    const int bottom = std::min(
        {creditsY + CreditsGeometry::kSurfaceHeight, CreditsGeometry::kLowestRow, controlHeight});
    const int top = std::max(creditsY, 0);
    if (bottom <= top)
        return blit;
    blit.DestX = CreditsGeometry::kLeft;
    blit.DestY = top;
    blit.SourceY = top - creditsY;
    blit.Width = CreditsGeometry::kSurfaceWidth;
    blit.Height = bottom - top;
    return blit;
}

void CreditsScroll::Step() {
    --creditsY_;
    if (creditsY_ < -CreditsGeometry::kSurfaceHeight)
        creditsY_ = controlHeight_;
}

} // namespace sentinax
