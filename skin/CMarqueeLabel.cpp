#include "CMarqueeLabel.h"

#include "ImageOps.h"
#include "Marquee.h"

#include <QFontDatabase>
#include <QPainter>
#include <QTimerEvent>

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
    if (scrolling_)
        timer_.start(kMarqueeStepMs, this);
    offset_ = 0;
    update();
}

void CMarqueeLabel::Step() {
    offset_ = NextMarqueeOffset(offset_, chars_.size());
    update();
}

void CMarqueeLabel::timerEvent(QTimerEvent* event) {
    if (event->timerId() == timer_.timerId())
        Step();
    else
        QWidget::timerEvent(event);
}

void CMarqueeLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (background_.isNull())
        painter.fillRect(rect(), QColor(16, 22, 30));
    else
        DrawImage(painter, background_, 0, 0, width(), height());
    const MarqueeLine line = ComposeMarquee(chars_, offset_, capacity_);
    painter.setFont(font_);
    painter.setPen(textColour_);
    // One line from the top edge; a long line is cut at the right edge.
    const Qt::Alignment align = (line.Centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop;
    painter.drawText(rect(), static_cast<int>(align) | Qt::TextSingleLine,
                     QString::fromStdU32String(line.Text));
}

} // namespace sentinax
