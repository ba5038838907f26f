// Reading a skin description file into plain descriptions of its face images,
// buttons, text fields and adjusters; the Qt layer builds controls from them.
//
// Row sections (BUTTONINFO, TEXTINFO, TRACKBARINFO) are read by count: with k
// keys in the section, keys "1" to "k" are read in that order, whatever the
// keys are called; a key outside 1..k is never read and a missing or empty row
// gives no control. Rows are comma-separated fields (NextField); a row with too
// few fields repeats its last field. Rows of any length are read.
#pragma once

#include "config/CIniFile.h"
#include "config/FieldText.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sentinax {

// Pixels of the window's client area; right = left + width, bottom = top + height.
struct SkinRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool operator==(const SkinRect&) const = default;
};

// Image file names as written in section Screen (resolve with SkinDirectory).
// Mask, Over, Down and Disabled default to Main; an empty Main means no face.
struct ScreenImages {
    std::string Main, Mask, Over, Down, Disabled;
};

struct ButtonInfo {
    int Index = 0; // row key - 1
    std::string Name;
    SkinRect Rect;
    std::string Tooltip;
    bool StaticFace = false; // flag field begins with 'T': always the normal image
};

struct TextInfo {
    int Index = 0;
    std::string Name;
    std::string FontFace;    // at most 31 characters
    bool Bold = false;       // flag begins with 'T': weight 700, else 400
    bool Italic = false;     // flag begins with 'F'
    int FontSize = 0;        // character cell height in pixels
    uint32_t TextColour = 0; // red + 256 * green + 65536 * blue
    SkinRect Rect;
    std::string Text; // initial text
};

struct SliderInfo {
    int Index = 0;
    std::string Name;
    std::string ThumbImage;     // file name of the thumb at rest
    std::string ThumbDragImage; // file name of the thumb while dragged
    SkinRect Rect;
    bool Horizontal = false; // orientation field begins with 'H'
    int Position = 0;        // as stored; the control shows it clamped to 0..100
};

struct SkinDescription {
    ScreenImages Screen;
    std::vector<ButtonInfo> Buttons; // in row order
    std::vector<TextInfo> Texts;
    std::vector<SliderInfo> Sliders;
};

// The skin file's directory as an absolute path ending in exactly one '/':
// relative paths are resolved against the working directory, "." and ".."
// are folded; the file itself need not exist.
std::string SkinDirectory(const std::string& skinPath);

// Four fields x, y, width, height taken off the row.
SkinRect ParseRect(std::string& row);

// Whether a flag field begins with c (case-sensitive; empty: false).
bool FlagIs(const std::string& field, char c);

// The colour value of a field (see TextInfo::TextColour).
uint32_t ParseColour(const std::string& field);

// One row each, with its list index; a row of any length is read.
ButtonInfo ParseButtonRow(std::string row, int index);
TextInfo ParseTextRow(std::string row, int index);
SliderInfo ParseSliderRow(std::string row, int index);

// The whole description, in the order the skin is loaded: Screen, then the
// button, text and adjuster rows. A missing file gives an empty description.
SkinDescription ReadSkin(const CIniFile& ini);

} // namespace sentinax
