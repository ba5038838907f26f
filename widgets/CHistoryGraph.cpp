#include "CHistoryGraph.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cstring>

namespace sentinax {

namespace {

QColor ToColour(uint32_t colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>(colour >> 8 & 0xFF),
                  static_cast<int>(colour >> 16 & 0xFF));
}

QRect ToRect(const PixelBox& box) {
    return QRect(box.left, box.top, box.right - box.left, box.bottom - box.top);
}

// Arial, light, with a character cell 14 pixels high.
QFont LabelFont() {
    static const QFont font = [] {
        QFont f(QStringLiteral("Arial"));
        f.setStyleHint(QFont::SansSerif);
        f.setWeight(QFont::Light);
        int pixels = 14;
        f.setPixelSize(pixels);
        while (pixels > 6 && QFontMetrics(f).height() > 14)
            f.setPixelSize(--pixels);
        return f;
    }();
    return font;
}

} // namespace

CHistoryGraph::CHistoryGraph(QWidget* parent) : QFrame(parent) {
    // A sunken two-pixel edge, as the graph's client edge.
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool CHistoryGraph::Create(const QRect& rect, QWidget* parent) {
    if (!parent)
        return false;
    setParent(parent);
    setGeometry(rect);
    const QRect client = contentsRect();
    geometry_.Resize(client.width(), client.height());
    RebuildGrid();
    show();
    return true;
}

void CHistoryGraph::SetRange(double lower, double upper, int decimals) {
    geometry_.SetRange(lower, upper, decimals);
    RebuildGrid();
}

void CHistoryGraph::SetXUnits(const std::string& text) {
    xUnits_ = text;
    RebuildGrid();
}

void CHistoryGraph::SetYUnits(const std::string& text) {
    yUnits_ = text;
    RebuildGrid();
}

double CHistoryGraph::AppendPoint(double value) {
    const double before = currentValue_;
    currentValue_ = value;
    // Updates are off while nobody can see the window (covered, minimised).
    if (!isVisible() || !updatesEnabled()) {
        pending_.push_back(value);
        // A plot width of newer segments scrolls every older one out of
        // sight, so the queue keeps only that many (the first kept segment
        // starts at the last dropped value).
        const size_t enough =
            static_cast<size_t>(std::max(geometry_.PlotWidth(), 0)) / GraphGeometry::kShiftPixels +
            2;
        if (pending_.size() > 2 * enough) {
            const size_t drop = pending_.size() - enough;
            previousValue_ = pending_[drop - 1];
            pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(drop));
        }
        return before;
    }
    DrawSegment();
    update(contentsRect());
    return before;
}

void CHistoryGraph::FlushPending(bool repaint) {
    if (pending_.empty())
        return;
    const double last = currentValue_;
    for (double v : pending_) {
        currentValue_ = v;
        DrawSegment();
    }
    pending_.clear();
    currentValue_ = last;
    if (repaint)
        update(contentsRect());
}

void CHistoryGraph::showEvent(QShowEvent* event) {
    QFrame::showEvent(event);
    FlushPending();
}

void CHistoryGraph::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    const QRect client = contentsRect();
    if (client.width() == geometry_.ClientWidth() && client.height() == geometry_.ClientHeight())
        return;
    geometry_.Resize(client.width(), client.height());
    // Surfaces of the old size would leave the plot drawn in the wrong place:
    // start again at the new size (this clears the history).
    if (!grid_.isNull())
        RebuildGrid();
}

void CHistoryGraph::RebuildGrid() {
    FlushPending();
    const int w = geometry_.ClientWidth();
    const int h = geometry_.ClientHeight();
    if (w <= 0 || h <= 0)
        return;
    if (grid_.size() != QSize(w, h)) {
        grid_ = QImage(w, h, QImage::Format_RGB32);
        plot_ = QImage(w, h, QImage::Format_RGB32);
    }
    const QColor background = ToColour(kBackgroundColour);
    const QColor gridColour = ToColour(kGridColour);
    grid_.fill(background);
    geometry_.ApplyMargin();

    const int left = geometry_.PlotLeft();
    const int top = geometry_.PlotTop();
    const int right = geometry_.PlotRight();
    const int bottom = geometry_.PlotBottom();
    {
        QPainter painter(&grid_);
        // Frame: the closed line (left, top) - (right + 1, top) - (right + 1,
        // bottom + 1) - (left, bottom + 1).
        if (right + 1 >= left && bottom + 1 >= top) {
            painter.fillRect(left, top, right + 2 - left, 1, gridColour);
            painter.fillRect(left, bottom + 1, right + 2 - left, 1, gridColour);
            painter.fillRect(left, top, 1, bottom + 2 - top, gridColour);
            painter.fillRect(right + 1, top, 1, bottom + 2 - top, gridColour);
        }
        painter.end();
    }
    int rows[3];
    geometry_.DotRows(rows);
    const QRgb dot = gridColour.rgb();
    for (int x = std::max(left, 0); x < right && x < w; x += 4) {
        for (int y : rows) {
            if (y >= 0 && y < h)
                grid_.setPixel(x, y, dot);
        }
    }
    {
        QPainter painter(&grid_);
        painter.setPen(gridColour);
        painter.setBackground(background);
        painter.setBackgroundMode(Qt::OpaqueMode);
        const QFont font = LabelFont();
        painter.setFont(font);
        const QFontMetrics metrics(font);
        const QString upper = QString::fromStdString(geometry_.UpperLabel());
        const QString lower = QString::fromStdString(geometry_.LowerLabel());
        const QString xUnits = QString::fromStdString(xUnits_);
        const QString yUnits = QString::fromStdString(yUnits_);
        // Upper limit: right-aligned, top at the plot top.
        painter.drawText(left - 4 - metrics.horizontalAdvance(upper), top + metrics.ascent(),
                         upper);
        // Lower limit: right-aligned, baseline on the plot bottom.
        painter.drawText(left - 4 - metrics.horizontalAdvance(lower), bottom, lower);
        // x units: centred, top 4 pixels below the plot.
        painter.drawText((left + right) / 2 - metrics.horizontalAdvance(xUnits) / 2,
                         bottom + 4 + metrics.ascent(), xUnits);
        // y units: reading upwards, centred on its baseline left of the plot.
        painter.translate(left / 2, (top + bottom) / 2);
        painter.rotate(-90);
        painter.drawText(-metrics.horizontalAdvance(yUnits) / 2, 0, yUnits);
    }
    plot_.fill(background);
    pictureStale_ = true;
    update();
}

void CHistoryGraph::DrawSegment() {
    if (plot_.isNull())
        return;
    const int w = plot_.width();
    const int h = plot_.height();
    const int left = geometry_.PlotLeft();
    const int top = geometry_.PlotTop();
    const int shift = GraphGeometry::kShiftPixels;

    // Scroll the plot area (plot width x plot height from one row below the
    // plot top) left by the shift, clipped to the surface.
    const int dstLeft = std::max(left, 0);
    const int srcRight = std::min(left + shift + geometry_.PlotWidth(), w);
    const int count = srcRight - (dstLeft + shift);
    if (count > 0) {
        const int rowEnd = std::min(top + 1 + geometry_.PlotHeight(), h);
        for (int y = std::max(top + 1, 0); y < rowEnd; ++y) {
            QRgb* row = reinterpret_cast<QRgb*>(plot_.scanLine(y));
            std::memmove(row + dstLeft, row + dstLeft + shift, sizeof(QRgb) * count);
        }
    }

    const SegmentStroke stroke = geometry_.Stroke(previousValue_, currentValue_);
    const QColor background = ToColour(kBackgroundColour);
    QPainter painter(&plot_);
    if (!stroke.strip.Empty())
        painter.fillRect(ToRect(stroke.strip), background);
    painter.setPen(QPen(ToColour(kPlotColour), 0));
    painter.drawLine(stroke.x0, stroke.y0, stroke.x1, stroke.y1);
    if (!stroke.clearAbove.Empty())
        painter.fillRect(ToRect(stroke.clearAbove), background);
    if (!stroke.clearBelow.Empty())
        painter.fillRect(ToRect(stroke.clearBelow), background);
    previousValue_ = currentValue_;
    pictureStale_ = true;
}

const QImage& CHistoryGraph::Picture() {
    FlushPending();
    if (pictureStale_ && !grid_.isNull()) {
        if (picture_.size() != grid_.size())
            picture_ = QImage(grid_.size(), QImage::Format_RGB32);
        std::memcpy(picture_.bits(), grid_.constBits(), grid_.sizeInBytes());
        QPainter painter(&picture_);
        painter.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
        painter.drawImage(0, 0, plot_);
        pictureStale_ = false;
    }
    return picture_;
}

void CHistoryGraph::paintEvent(QPaintEvent* event) {
    // A new value repaints only the client area; the edge is drawn when the
    // widget itself is exposed.
    if (!contentsRect().contains(event->rect()))
        QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect client = contentsRect();
    // Painted now when this pass paints the whole client area; otherwise the
    // rest of it is asked for.
    FlushPending(!(QRegion(client) - event->region()).isEmpty());
    if (grid_.isNull()) {
        painter.fillRect(client, ToColour(kBackgroundColour));
        return;
    }
    // The grid, then the plot ORed over it: the pixels Picture() composes,
    // made in the window's own surface without an image in between (every
    // value scrolls the whole plot, so each tick repaints all of it).
    painter.drawImage(client.topLeft(), grid_);
    painter.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
    painter.drawImage(client.topLeft(), plot_);
}

} // namespace sentinax
