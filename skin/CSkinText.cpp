#include "CSkinText.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPointer>

#include <algorithm>

namespace sentinax {

namespace {
// Larger sizes are held here: no text field is that tall.
constexpr int kMaxFontPixels = 512;
} // namespace

CSkinText::CSkinText(const TextInfo& row, const QImage& face, QWidget* parent)
    : CMarqueeLabel(parent), SkinControl(*this, row.Name, row.Index, row.Rect) {
    setMouseTracking(true);
    const QImage background = FaceUnder(face);
    if (!background.isNull())
        SetBackground(background);
    SetTextColour(row.TextColour);
    SetFont(RowFont(row));
    SetText(QString::fromStdString(row.Text));
    show();
}

QFont CSkinText::RowFont(const TextInfo& row) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    if (!row.FontFace.empty())
        font.setFamily(QString::fromStdString(row.FontFace));
    font.setWeight(row.Bold ? QFont::Bold : QFont::Normal);
    font.setItalic(row.Italic);
    if (row.FontSize < 0) {
        font.setPixelSize(row.FontSize < -kMaxFontPixels ? kMaxFontPixels : -row.FontSize);
    } else if (row.FontSize > 0) {
        // The largest size whose line (ascent + descent) fits the cell.
        const int cell = std::min(row.FontSize, kMaxFontPixels);
        int pixels = cell;
        font.setPixelSize(pixels);
        while (pixels > 1 && QFontMetrics(font).height() > cell)
            font.setPixelSize(--pixels);
    }
    return font;
}

// A press on the field is the field's own: it does not move the window.
void CSkinText::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void CSkinText::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    emit pointerOver(Index(), pos.x(), pos.y());
}

void CSkinText::mouseReleaseEvent(QMouseEvent* event) {
    QPointer<CSkinText> alive(this);
    CMarqueeLabel::mouseReleaseEvent(event);
    if (alive && event->button() == Qt::LeftButton)
        emit textClicked(Index());
}

} // namespace sentinax
