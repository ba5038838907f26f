// A readout that shows a short text as lit and unlit segments, scaled to the
// control. The layout (outlines, fitted curves) is built when the text, the
// style or the size changes; the picture is rasterised once per layout into a
// map of colour roles, so a colour change (the alarm blink) only recolours
// that map and painting only copies the finished image.
#pragma once

#include "DigitLayout.h"

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <string>
#include <unordered_map>

namespace sentinax {

class CDigitDisplay : public QWidget {
public:
    // style: bit set of kStyleSmooth, kStyleFourteenDigits, kStyleKeepProportions.
    explicit CDigitDisplay(QWidget* parent = nullptr, unsigned style = kStyleKeepProportions);

    // Stores the text and repaints, unless it equals the stored text byte for
    // byte. The stored text is upper-cased when the characters are rebuilt.
    void SetDisplayText(const std::string& text);
    // Colours have red in the low byte. Repaints only when one of them changed.
    void SetColours(uint32_t unlit, uint32_t lit);

    const std::string& DisplayText() const { return text_; }
    uint32_t UnlitColour() const { return unlit_; }
    uint32_t LitColour() const { return lit_; }
    uint32_t BackgroundColour() const { return background_; }
    unsigned Style() const { return style_; }

    // The finished picture at the current size, brought up to date first.
    const QImage& Picture();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void RebuildRoles();
    void Recolour();

    std::string text_ = "EMPTY";
    bool modified_ = true;     // characters must be rebuilt
    bool rolesStale_ = true;   // role map must be rasterised again
    bool pictureStale_ = true; // picture must be recoloured
    uint32_t unlit_ = 0;
    uint32_t lit_ = 0xFFFF96; // RGB (150, 255, 255)
    uint32_t background_ = 0;
    unsigned style_;
    DigitLayout layout_;
    QImage roles_; // Indexed8: 0 background, 1/2 unlit fill/pen, 3/4 lit fill/pen
    // Role maps of texts shown before at this size: a reading that goes back
    // and forth between a few values is rasterised once per value.
    std::unordered_map<std::string, QImage> roleCache_;
    static constexpr size_t kRoleCacheSize = 64;
    QImage picture_; // RGB32, what paintEvent copies
};

} // namespace sentinax
