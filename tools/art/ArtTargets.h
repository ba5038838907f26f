// The parts of the artwork generator. Each draws its images into the folders it
// is given and returns false (after a message on stderr) when one could not be
// written.
#pragma once

#include <QString>

namespace sentinax::art {

// Faces, masks, button states and adjuster thumbs of the shipped skins, into
// runDir/Skins/.
bool DrawSkinArt(const QString& runDir);

// The animated picture of the main window and the About box background, into
// resourceDir (compiled into the program).
bool DrawPictureArt(const QString& resourceDir);

// The program's icon in the hicolor sizes, into
// resourceDir/icons/hicolor/<size>x<size>/apps/sentinax4.png (compiled into the
// program and installed for the desktop's menus).
constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
bool DrawIconArt(const QString& resourceDir);

} // namespace sentinax::art
