#include "ArtTargets.h"

namespace sentinax::art {

bool DrawSkinArt(const QString&) { return true; }

} // namespace sentinax::art
