// The About box's picture with credits scrolling over its right-hand part.
// The text is rendered once, when the control is attached, into a 220 x 300
// white surface (CreditsLayout.h places the lines). Every 40 ms while shown,
// the background picture is copied into a back buffer, the credits surface is
// ANDed onto it (white lets the picture through, the letters darken it), the
// text moves up one pixel, and the back buffer is painted.
#pragma once

#include "CreditsLayout.h"

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <string>

namespace sentinax {

class CAboutCtrl : public QWidget {
public:
    explicit CAboutCtrl(QWidget* parent = nullptr);

    // Replaces the credits text (grammar in CreditsLayout.h). Only a text set
    // before Attach is rendered.
    void SetCreditsText(const std::string& text);
    const std::string& CreditsText() const { return text_; }

    // Places the control in parent at rect and prepares it: renders the
    // credits, loads the background picture (":/BITMAP/135"), sizes the back
    // buffer, puts the text at the bottom edge. The text scrolls while the
    // control is shown.
    void Attach(QWidget* parent, const QRect& rect);

    // One tick: compose picture and text, move the text up, repaint.
    void AnimationStep();

    int CreditsY() const { return scroll_.CreditsY(); }
    const QImage& CreditsSurface() const { return credits_; }
    const QImage& Picture() const { return picture_; }
    // The last composed image, the picture's size: what the control shows.
    const QImage& BackBuffer() const { return backBuffer_; }
    bool IsScrolling() const { return timer_.isActive(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void RenderCredits();
    // Picture, then the credits at the current position: the back buffer.
    void Compose();

    std::string text_;
    bool attached_ = false;
    QImage credits_;
    QImage picture_;
    QImage backBuffer_;
    CreditsScroll scroll_;
    QTimer timer_;
};

} // namespace sentinax
