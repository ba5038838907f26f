#include "CDigitDisplay.h"

#include <QPainter>
#include <QPainterPath>

namespace sentinax {

namespace {

enum Role : uint8_t { kBackground = 0, kUnlitFill, kUnlitPen, kLitFill, kLitPen, kRoleCount };

QRgb ToRgb(uint32_t colour) {
    return qRgb(static_cast<int>(colour & 0xFF), static_cast<int>(colour >> 8 & 0xFF),
                static_cast<int>(colour >> 16 & 0xFF));
}

// Stand-in colours for the roles while rasterising: aliased drawing keeps them
// exact, so every pixel can be read back as its role.
QRgb RoleColour(int role) {
    return qRgb(role, role, role);
}

// Outlines made only of straight edges are drawn as integer polygons, which
// the raster engine fills and outlines on its fast path.
bool ToPolygon(const std::vector<PathElement>& elements, QPolygon& polygon) {
    polygon.clear();
    for (const PathElement& e : elements) {
        if (e.op == PathElement::Op::CubicTo)
            return false;
        if (e.op == PathElement::Op::MoveTo && !polygon.isEmpty())
            return false;
        polygon.append(QPoint(e.to.x, e.to.y));
    }
    return true;
}

QPainterPath ToPainterPath(const std::vector<PathElement>& elements) {
    QPainterPath path;
    for (const PathElement& e : elements) {
        switch (e.op) {
        case PathElement::Op::MoveTo:
            path.moveTo(e.to.x, e.to.y);
            break;
        case PathElement::Op::LineTo:
            path.lineTo(e.to.x, e.to.y);
            break;
        case PathElement::Op::CubicTo:
            path.cubicTo(e.c1.x, e.c1.y, e.c2.x, e.c2.y, e.to.x, e.to.y);
            break;
        }
    }
    path.closeSubpath();
    return path;
}

} // namespace

CDigitDisplay::CDigitDisplay(QWidget* parent, unsigned style) : QWidget(parent), style_(style) {
    // The picture covers every pixel: nothing needs erasing beneath it.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CDigitDisplay::SetDisplayText(const std::string& text) {
    if (text == text_)
        return;
    text_ = text;
    modified_ = true;
    update();
}

void CDigitDisplay::SetColours(uint32_t unlit, uint32_t lit) {
    if (unlit == unlit_ && lit == lit_)
        return;
    unlit_ = unlit;
    lit_ = lit;
    pictureStale_ = true;
    update();
}

void CDigitDisplay::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    rolesStale_ = true;
}

void CDigitDisplay::RebuildRoles() {
    const int w = width();
    const int h = height();
    layout_.Build(text_, style_, w, h);
    modified_ = false;
    rolesStale_ = false;
    pictureStale_ = true;

    const std::string key = text_ + '\0' + std::to_string(w) + 'x' + std::to_string(h);
    if (auto hit = roleCache_.find(key); hit != roleCache_.end()) {
        roles_ = hit->second;
        return;
    }
    QImage canvas(std::max(w, 1), std::max(h, 1), QImage::Format_RGB32);
    canvas.fill(RoleColour(kBackground));
    if (!layout_.Segments().empty()) {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing, false);
        const QPen unlitPen(QColor(RoleColour(kUnlitPen)), 1);
        const QPen litPen(QColor(RoleColour(kLitPen)), 1);
        const QBrush unlitBrush{QColor(RoleColour(kUnlitFill))};
        const QBrush litBrush{QColor(RoleColour(kLitFill))};
        QPolygon polygon;
        for (const SegmentPath& segment : layout_.Segments()) {
            painter.setPen(segment.lit ? litPen : unlitPen);
            painter.setBrush(segment.lit ? litBrush : unlitBrush);
            if (ToPolygon(segment.elements, polygon))
                painter.drawPolygon(polygon);
            else
                painter.drawPath(ToPainterPath(segment.elements));
        }
    }
    roles_ = QImage(canvas.size(), QImage::Format_Indexed8);
    for (int y = 0; y < canvas.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
        uchar* out = roles_.scanLine(y);
        for (int x = 0; x < canvas.width(); ++x)
            out[x] = static_cast<uchar>(qBlue(in[x]));
    }
    if (roleCache_.size() >= kRoleCacheSize)
        roleCache_.clear();
    roleCache_.emplace(key, roles_);
}

void CDigitDisplay::Recolour() {
    const uint32_t unlitPen = DigitLayout::PenColour(background_, unlit_);
    const uint32_t litPen = DigitLayout::PenColour(background_, lit_);
    const QRgb table[kRoleCount] = {ToRgb(background_), ToRgb(unlit_), ToRgb(unlitPen), ToRgb(lit_),
                                    ToRgb(litPen)};
    if (picture_.size() != roles_.size())
        picture_ = QImage(roles_.size(), QImage::Format_RGB32);
    for (int y = 0; y < roles_.height(); ++y) {
        const uchar* in = roles_.constScanLine(y);
        QRgb* out = reinterpret_cast<QRgb*>(picture_.scanLine(y));
        for (int x = 0; x < roles_.width(); ++x)
            out[x] = table[in[x] < kRoleCount ? in[x] : 0];
    }
    pictureStale_ = false;
}

const QImage& CDigitDisplay::Picture() {
    if (modified_ || rolesStale_ || roles_.size() != size().expandedTo(QSize(1, 1)))
        RebuildRoles();
    if (pictureStale_)
        Recolour();
    return picture_;
}

void CDigitDisplay::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, Picture());
}

} // namespace sentinax
