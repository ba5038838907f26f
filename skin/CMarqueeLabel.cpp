#include "CMarqueeLabel.h"

#include "ImageOps.h"
#include "Marquee.h"

#include <QFontDatabase>
#include <QPainter>
#include <QTextLayout>
#include <QTimerEvent>
#include <algorithm>
#include <cmath>

namespace sentinax {

CMarqueeLabel::CMarqueeLabel(QWidget* parent)
    : QWidget(parent), font_(QFontDatabase::systemFont(QFontDatabase::GeneralFont)) {
    setFocusPolicy(Qt::NoFocus);
}

void CMarqueeLabel::SetText(const QString& text) {
    if (text == text_ && !scrolling_)
        return;
    text_ = text;
    chars_ = text.toStdU32String();
    setAccessibleName(text);
    Relayout();
}

void CMarqueeLabel::SetFont(const QFont& font) {
    font_ = font;
    Relayout();
}

void CMarqueeLabel::SetTextColour(uint32_t colour) {
    textColour_ = QColor(static_cast<int>(colour & 0xFF), static_cast<int>(colour >> 8 & 0xFF),
                         static_cast<int>(colour >> 16 & 0xFF));
    if (scrolling_)
        BuildStrip();
    update();
}

void CMarqueeLabel::SetBackground(const QImage& background) {
    background_ = background;
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    update();
}

void CMarqueeLabel::Relayout() {
    if (scrolling_)
        timer_.stop();
    // Measured with the widget's own font, not the label's: the capacity is
    // an estimate that does not follow the label's size.
    capacity_ = MarqueeCapacity(width(), fontMetrics().horizontalAdvance(QLatin1Char('W')));
    scrolling_ = MarqueeScrolls(capacity_, chars_.size());
    if (scrolling_) {
        BuildStrip();
    } else {
        strip_ = QImage();
        stripX_.clear();
        inkTop_ = inkHeight_ = 0;
    }
    offset_ = 0;
    UpdateTimer();
    update();
}

void CMarqueeLabel::UpdateTimer() {
    if (!scrolling_ || !exposed_ || !isVisible())
        timer_.stop();
    else if (!timer_.isActive())
        timer_.start(kMarqueeStepMs, this);
}

void CMarqueeLabel::SetExposed(bool exposed) {
    exposed_ = exposed;
    UpdateTimer();
}

// Any line the scroll shows is a stretch of text + separator + text (the
// text is longer than the capacity, so one repetition always suffices).
void CMarqueeLabel::BuildStrip() {
    std::u32string whole = chars_;
    whole += kMarqueeSeparator;
    whole += chars_;
    const QString line = QString::fromStdU32String(whole);
    QTextLayout layout(line, font_);
    layout.beginLayout();
    QTextLine textLine = layout.createLine();
    textLine.setLineWidth(1e6);
    layout.endLayout();
    // Character (code point) i begins at stripX_[i]; the last entry is the end.
    stripX_.clear();
    stripX_.reserve(whole.size() + 1);
    int unit = 0;
    for (char32_t c : whole) {
        stripX_.push_back(static_cast<int>(std::lround(textLine.cursorToX(unit))));
        unit += c > 0xFFFF ? 2 : 1;
    }
    stripX_.push_back(static_cast<int>(std::ceil(textLine.naturalTextWidth())));
    strip_ = QImage(std::max(stripX_.back(), 1), std::max(height(), 1),
                    QImage::Format_ARGB32_Premultiplied);
    strip_.fill(Qt::transparent);
    {
        QPainter painter(&strip_);
        painter.setPen(textColour_);
        textLine.draw(&painter, QPointF(0, 0));
    }
    // A step changes only the rows that hold ink; the rest of the line is
    // the background all along.
    int top = -1, bottom = -1;
    for (int y = 0; y < strip_.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(strip_.constScanLine(y));
        if (std::any_of(row, row + strip_.width(), [](QRgb p) { return qAlpha(p) != 0; })) {
            top = top < 0 ? y : top;
            bottom = y;
        }
    }
    inkTop_ = std::max(top, 0);
    inkHeight_ = top < 0 ? 0 : bottom - top + 1;
}

void CMarqueeLabel::Step() {
    offset_ = NextMarqueeOffset(offset_, chars_.size());
    update(0, inkTop_, width(), inkHeight_);
}

void CMarqueeLabel::timerEvent(QTimerEvent* event) {
    if (event->timerId() == timer_.timerId())
        Step();
    else
        QWidget::timerEvent(event);
}

void CMarqueeLabel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    UpdateTimer();
}

void CMarqueeLabel::hideEvent(QHideEvent* event) {
    timer_.stop();
    QWidget::hideEvent(event);
}

void CMarqueeLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (background_.isNull())
        painter.fillRect(rect(), QColor(16, 22, 30));
    else
        DrawImage(painter, background_, 0, 0, width(), height());
    const MarqueeLine line = ComposeMarquee(chars_, offset_, capacity_);
    if (!line.Centred && !stripX_.empty()) {
        // The line is the strip from the offset's character for as many
        // characters as it holds; one line from the top edge, cut at the right.
        const std::size_t first = std::min<std::size_t>(offset_, stripX_.size() - 1);
        const std::size_t last = std::min(first + line.Text.size(), stripX_.size() - 1);
        const int x0 = stripX_[first];
        const int shown = std::min(stripX_[last] - x0, width());
        if (shown > 0)
            painter.drawImage(QPoint(0, 0), strip_, QRect(x0, 0, shown, strip_.height()));
        return;
    }
    painter.setFont(font_);
    painter.setPen(textColour_);
    const Qt::Alignment align = (line.Centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop;
    painter.drawText(rect(), static_cast<int>(align) | Qt::TextSingleLine,
                     QString::fromStdU32String(line.Text));
}

} // namespace sentinax
