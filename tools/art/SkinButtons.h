// The skins' buttons in their four looks.
#pragma once

#include "SkinFace.h"

class QPainter;

namespace sentinax::art {

void DrawButton(QPainter& p, const ArtButton& button, Look look, const SkinTheme& theme);

} // namespace sentinax::art
