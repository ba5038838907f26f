#include "CDigitDisplay.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <gtest/gtest.h>

namespace sentinax {
namespace {

constexpr uint32_t kLit = 0xFFFF96;   // RGB (150, 255, 255)
constexpr uint32_t kUnlit = 0x402010; // RGB (16, 32, 64): distinct from the black background

QRgb Rgb(uint32_t c) {
    return qRgb(c & 0xFF, c >> 8 & 0xFF, c >> 16 & 0xFF);
}

// The pixel at cell point (x, y) of the cell starting at cellLeft, scale 2.
QRgb CellPixel(const QImage& image, double cellLeft, double x, double y) {
    return image.pixel(static_cast<int>(cellLeft + 2 * x), static_cast<int>(2 * y));
}

// "45 .C" in 600 x 166: scale 2, cells at 86, 184, 282 (blank), 380 (point), 416 (C).
TEST(CDigitDisplayWidget, TemperatureTextShowsLitAndUnlitSegmentsCentred) {
    CDigitDisplay display;
    display.resize(600, 166);
    display.SetColours(kUnlit, kLit);
    display.SetDisplayText("45 .C");
    const QImage& image = display.Picture();
    struct Probe {
        double cell, x, y;
        bool lit;
        const char* what;
    } probes[] = {
        {86, 24, 41, true, "4 middle bar"},       {86, 24, 7, false, "4 top bar"},
        {86, 7, 60, false, "4 lower left"},       {86, 41, 60, true, "4 lower right"},
        {184, 24, 7, true, "5 top bar"},          {184, 41, 24, false, "5 upper right"},
        {282, 24, 41, false, "blank middle bar"}, {282, 24, 75, false, "blank bottom"},
        {380, 8.5, 72.5, true, "decimal point"},  {380, 8.5, 27.5, false, "upper dot"},
        {416, 24, 7, true, "C top bar"},          {416, 7, 30, true, "C upper left"},
        {416, 24, 75, true, "C bottom"},          {416, 14, 41, false, "C middle left"},
        {416, 41, 30, false, "C upper right"},
    };
    for (const Probe& p : probes)
        EXPECT_EQ(CellPixel(image, p.cell, p.x, p.y), Rgb(p.lit ? kLit : kUnlit)) << p.what;
    // Centred: nothing left of the first cell or right of the last one.
    for (int y = 0; y < 166; y += 5) {
        EXPECT_EQ(image.pixel(85, y), Rgb(0));
        EXPECT_EQ(image.pixel(515, y), Rgb(0));
    }
    // Outlines in the pen colours: a quarter background, three quarters fill.
    bool litPen = false, unlitPen = false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            litPen |= image.pixel(x, y) == qRgb(112, 191, 191);
            unlitPen |= image.pixel(x, y) == qRgb(12, 24, 48);
        }
    }
    EXPECT_TRUE(litPen);
    EXPECT_TRUE(unlitPen);
}

TEST(CDigitDisplayWidget, NotAvailableShowsTwoLettersAroundABlankCell) {
    CDigitDisplay display;
    display.resize(294, 166); // 147 units at scale 2
    display.SetColours(kUnlit, kLit);
    display.SetDisplayText("n a"); // shown upper-cased
    const QImage& image = display.Picture();
    EXPECT_EQ(display.DisplayText(), "N A");
    EXPECT_EQ(CellPixel(image, 0, 7, 30), Rgb(kLit));      // N upper left
    EXPECT_EQ(CellPixel(image, 0, 24, 7), Rgb(kUnlit));    // N top
    EXPECT_EQ(CellPixel(image, 98, 24, 41), Rgb(kUnlit));  // blank middle
    EXPECT_EQ(CellPixel(image, 196, 24, 7), Rgb(kLit));    // A top
    EXPECT_EQ(CellPixel(image, 196, 24, 75), Rgb(kUnlit)); // A bottom
}

TEST(CDigitDisplayWidget, EmptyTextDrawsOnlyTheBackground) {
    CDigitDisplay display;
    display.resize(50, 20);
    display.SetColours(kUnlit, kLit);
    display.SetDisplayText("");
    const QImage& image = display.Picture();
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 50; ++x)
            ASSERT_EQ(image.pixel(x, y), Rgb(0)) << x << "," << y;
    }
}

// Drawing straight from the layout with the real colours: the cached role map
// must give exactly this picture.
QImage DrawDirectly(const std::string& text, unsigned style, QSize size, uint32_t unlit,
                    uint32_t lit) {
    std::string stored = text;
    DigitLayout layout;
    layout.Build(stored, style, size.width(), size.height());
    QImage image(size, QImage::Format_RGB32);
    image.fill(Rgb(0));
    QPainter painter(&image);
    for (const SegmentPath& s : layout.Segments()) {
        QPainterPath path;
        for (const PathElement& e : s.elements) {
            if (e.op == PathElement::Op::MoveTo)
                path.moveTo(e.to.x, e.to.y);
            else if (e.op == PathElement::Op::LineTo)
                path.lineTo(e.to.x, e.to.y);
            else
                path.cubicTo(e.c1.x, e.c1.y, e.c2.x, e.c2.y, e.to.x, e.to.y);
        }
        path.closeSubpath();
        const uint32_t fill = s.lit ? lit : unlit;
        painter.setPen(QPen(QColor(Rgb(DigitLayout::PenColour(0, fill))), 1));
        painter.setBrush(QColor(Rgb(fill)));
        painter.drawPath(path);
    }
    return image;
}

TEST(CDigitDisplayWidget, CachedPictureEqualsDrawingEverythingAgain) {
    struct Case {
        unsigned style;
        const char* text;
        QSize size;
    } cases[] = {{kStyleKeepProportions, "1.25", {50, 20}},
                 {kStyleSmooth | kStyleKeepProportions, "-12:3 C", {120, 40}},
                 {kStyleSmooth | kStyleFourteenDigits, "HOT*+", {97, 31}},
                 {0, "N A", {60, 20}}};
    for (const Case& c : cases) {
        CDigitDisplay display(nullptr, c.style);
        display.resize(c.size);
        display.SetDisplayText(c.text);
        display.Picture();
        // Blink: colours change, the geometry is reused.
        display.SetColours(kUnlit, 0x0000FF);
        display.Picture();
        display.SetColours(0, 0);
        display.SetColours(kUnlit, kLit);
        EXPECT_EQ(display.Picture(), DrawDirectly(c.text, c.style, c.size, kUnlit, kLit)) << c.text;
    }
}

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        paints += e->type() == QEvent::Paint;
        return false;
    }
};

TEST(CDigitDisplayWidget, RepaintsOnlyWhenTextOrColoursChange) {
    CDigitDisplay display;
    display.resize(50, 20);
    display.show();
    PaintCounter counter;
    display.installEventFilter(&counter);
    auto settle = [&] {
        QApplication::processEvents();
        const int n = counter.paints;
        counter.paints = 0;
        return n;
    };
    settle();
    display.SetDisplayText("EMPTY"); // the constructor value
    display.SetColours(0, kLit);     // the constructor colours
    EXPECT_EQ(settle(), 0);
    display.SetDisplayText("1.25");
    EXPECT_EQ(settle(), 1);
    display.SetDisplayText("1.25");
    EXPECT_EQ(settle(), 0);
    display.SetColours(0, 0x0000FF);
    EXPECT_EQ(settle(), 1);
    display.SetColours(0, 0x0000FF);
    EXPECT_EQ(settle(), 0);
}

} // namespace
} // namespace sentinax

namespace sentinax {
namespace {

// A text shown again later, in other colours, looks exactly as it does on a
// display that never showed anything else.
TEST(CDigitDisplayWidget, TextShownAgainLooksAsDrawnFresh) {
    CDigitDisplay seasoned;
    seasoned.resize(50, 20);
    for (const char* text : {"45 .C", "46 .C", "1.35", "45 .C"}) {
        seasoned.SetDisplayText(text);
        seasoned.Picture();
    }
    seasoned.SetColours(0, 0xFF);
    CDigitDisplay fresh;
    fresh.resize(50, 20);
    fresh.SetDisplayText("45 .C");
    fresh.SetColours(0, 0xFF);
    EXPECT_EQ(seasoned.Picture(), fresh.Picture());
    seasoned.resize(60, 20); // another size is drawn anew
    fresh.resize(60, 20);
    EXPECT_EQ(seasoned.Picture(), fresh.Picture());
}

} // namespace
} // namespace sentinax
