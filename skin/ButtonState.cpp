#include "ButtonState.h"

namespace sentinax {

ButtonFace SelectButtonFace(bool staticFace, bool pressed, bool hover, bool disabled) {
    if (staticFace)
        return ButtonFace::Normal;
    if (pressed)
        return ButtonFace::Down;
    if (hover)
        return ButtonFace::Over;
    if (disabled)
        return ButtonFace::Disabled;
    return ButtonFace::Normal;
}

bool HoverAfterMove(bool hover, bool inside, bool leftHeld, bool appActive) {
    if (leftHeld && !hover)
        return false;
    if (!inside)
        return false;
    return hover || appActive;
}

bool ReleaseIsClick(int width, int height, int x, int y) {
    return x >= 0 && y >= 0 && x < width && y < height;
}

} // namespace sentinax
