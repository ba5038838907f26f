// A line of text painted over a background image in its own font and colour.
// A text too long for the field scrolls like a marquee, one character every
// 150 ms, followed by " ** " and the text again (see Marquee.h). A scrolling
// text is laid out and drawn once into a strip; each step only copies the
// strip's part from the current character on. The scroll rests while the
// label is hidden (the window hidden to the tray) or its window cannot be
// seen (covered, minimised), and goes on from the same character.
#pragma once

#include <QBasicTimer>
#include <QFont>
#include <QImage>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <string>
#include <vector>

namespace sentinax {

class CMarqueeLabel : public QWidget {
    Q_OBJECT
public:
    explicit CMarqueeLabel(QWidget* parent = nullptr);

    // Sets the text and starts it from its beginning. Setting the text already
    // shown while it stands still changes nothing.
    void SetText(const QString& text);
    // Uses a copy of the font from now on; the text starts again.
    void SetFont(const QFont& font);
    // Colour as red + 256 * green + 65536 * blue.
    void SetTextColour(uint32_t colour);
    // The picture behind the text, of the label's size; without one the label
    // fills a dark colour.
    void SetBackground(const QImage& background);

    const QString& Text() const { return text_; }
    const QFont& LabelFont() const { return font_; }
    int Capacity() const { return capacity_; }
    int Offset() const { return offset_; }
    bool Scrolling() const { return scrolling_; }
    // One step of the scroll, as the timer does it.
    void Step();
    // Whether anybody can see the window (ExposureWatcher); true until told
    // otherwise.
    void SetExposed(bool exposed);
    // The scroll's timer runs.
    bool StepsRunning() const { return timer_.isActive(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void Relayout();
    void BuildStrip();
    // Starts or stops the scroll's timer to match "scrolling, shown and seen".
    void UpdateTimer();

    QString text_;
    std::u32string chars_; // text_ by code point
    QColor textColour_{Qt::white};
    QImage background_;
    QFont font_;
    int capacity_ = 0;
    int offset_ = 0;
    bool scrolling_ = false;
    bool exposed_ = true;
    QBasicTimer timer_;
    // A scrolling text, its separator and the text again, drawn once; and
    // where each of its characters begins, in pixels.
    QImage strip_;
    std::vector<int> stripX_;
    // The rows of the label that the strip's text touches.
    int inkTop_ = 0;
    int inkHeight_ = 0;
};

} // namespace sentinax
