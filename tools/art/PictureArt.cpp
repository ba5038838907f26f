#include "ArtTargets.h"

namespace sentinax::art {

bool DrawPictureArt(const QString&) { return true; }

} // namespace sentinax::art
