// What a skin button shows and when it counts a click, apart from the widget.
#pragma once

namespace sentinax {

// The four images every button is cut from (the surface's Main, Over, Down
// and Disabled at the button's place).
enum class ButtonFace { Normal, Over, Down, Disabled };

// The selection rule, first match wins: a static-face button always shows its
// normal image; then pressed, pointer over, disabled; else normal.
ButtonFace SelectButtonFace(bool staticFace, bool pressed, bool hover, bool disabled);

// Whether the button is lit after the pointer moved. inside: the pointer is
// over the button; leftHeld: the left mouse button is down; appActive: one of
// our windows is the active one. A drag that enters the button does not light
// it, nor does a pointer over it while another program is active; the light
// goes out as soon as the pointer is over anything else.
bool HoverAfterMove(bool hover, bool inside, bool leftHeld, bool appActive);

// A release counts as a click only inside the button's client rectangle
// (0, 0) .. (width, height), right and bottom exclusive.
bool ReleaseIsClick(int width, int height, int x, int y);

} // namespace sentinax
