#include "CAboutCtrl.h"

#include "AboutTexts.h"
#include "PictureResources.h"

#include "hardware/Reporter.h"

#include <QFont>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>

namespace sentinax {

namespace {

const QColor kHeadingColour(16, 140, 231);
const QColor kTextColour(0, 0, 0);
const QColor kCreditsBackground(255, 255, 255);
const char* const kPictureResource = ":/BITMAP/135";

// Arial (or a metric twin) at the largest pixel size whose full cell (ascent
// plus descent) fits the line's height, so lines never overlap.
QFont CreditsFont(CreditsLineKind kind) {
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arimo"), QStringLiteral("Helvetica"),
                      QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif, QFont::PreferQuality);
    font.setWeight(kind == CreditsLineKind::Body ? QFont::Normal : QFont::Bold);
    const int cell = CreditsLineHeight(kind);
    int pixels = cell;
    font.setPixelSize(pixels);
    while (pixels > 6 && QFontMetrics(font).height() > cell)
        font.setPixelSize(--pixels);
    return font;
}

// The font narrowed until the line fits the surface's width: a face wider
// than Arial would otherwise cut the longest lines off at the right.
QFont FittedFont(QFont font, const QString& text) {
    constexpr int kNarrowest = 60; // per cent of the normal width
    for (int stretch = 100; stretch >= kNarrowest; stretch -= 5) {
        font.setStretch(stretch);
        if (QFontMetrics(font).horizontalAdvance(text) <= CreditsGeometry::kSurfaceWidth)
            break;
    }
    return font;
}

} // namespace

CAboutCtrl::CAboutCtrl(QWidget* parent) : QWidget(parent), text_(DefaultCreditsText()) {
    timer_.setInterval(CreditsGeometry::kTickMs);
    connect(&timer_, &QTimer::timeout, this, [this] { AnimationStep(); });
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CAboutCtrl::SetCreditsText(const std::string& text) {
    text_ = text;
}

void CAboutCtrl::Attach(QWidget* parent, const QRect& rect) {
    setParent(parent);
    setGeometry(rect);
    RenderCredits();
    EnsurePictureResources();
    if (!picture_.load(QString::fromLatin1(kPictureResource))) {
        ReportMessage(MessagePriority::Warning,
                      std::string("About box: no background picture ") + kPictureResource);
        picture_ = QImage(rect.size(), QImage::Format_RGB32);
        picture_.fill(Qt::white);
    }
    picture_ = picture_.convertToFormat(QImage::Format_RGB32);
    // The back buffer has the picture's size: text is only ever shown over
    // the picture, and a control larger than it shows plain window colour
    // beyond its edges.
    backBuffer_ = QImage(picture_.size(), QImage::Format_RGB32);
    scroll_ = CreditsScroll(rect.height());
    attached_ = true;
    Compose();
    if (isVisible())
        timer_.start();
}

void CAboutCtrl::RenderCredits() {
    credits_ = QImage(CreditsGeometry::kSurfaceWidth, CreditsGeometry::kSurfaceHeight,
                      QImage::Format_RGB32);
    credits_.fill(kCreditsBackground);
    QPainter painter(&credits_);
    const QFont fonts[] = {CreditsFont(CreditsLineKind::Heading),
                           CreditsFont(CreditsLineKind::SubHeading),
                           CreditsFont(CreditsLineKind::Body)};
    for (const CreditsLine& line : LayoutCredits(text_)) {
        const bool heading = line.Kind == CreditsLineKind::Heading;
        const QString text = QString::fromStdString(line.Text);
        painter.setFont(FittedFont(fonts[static_cast<int>(line.Kind)], text));
        painter.setPen(heading ? kHeadingColour : kTextColour);
        painter.drawText(QRect(0, line.Top, CreditsGeometry::kSurfaceWidth, line.Height),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    }
}

void CAboutCtrl::Compose() {
    QPainter painter(&backBuffer_);
    painter.drawImage(0, 0, picture_);
    const CreditsBlit blit = CreditsBlitAt(scroll_.CreditsY(), height());
    if (blit.Height > 0) {
        painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        painter.drawImage(QRect(blit.DestX, blit.DestY, blit.Width, blit.Height), credits_,
                          QRect(0, blit.SourceY, blit.Width, blit.Height));
    }
}

void CAboutCtrl::AnimationStep() {
    if (!attached_)
        return;
    Compose();
    scroll_.Step();
    update();
}

void CAboutCtrl::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRegion beyond = QRegion(event->rect()) - QRegion(backBuffer_.rect());
    for (const QRect& r : beyond)
        painter.fillRect(r, palette().color(QPalette::Window));
    const QRect shown = event->rect() & backBuffer_.rect();
    if (!shown.isEmpty())
        painter.drawImage(shown.topLeft(), backBuffer_, shown);
}

void CAboutCtrl::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (attached_)
        timer_.start();
}

void CAboutCtrl::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    timer_.stop();
}

} // namespace sentinax
