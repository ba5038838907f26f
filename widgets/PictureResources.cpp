#include "PictureResources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE declares a function of the global namespace.
static void InitPictureArt() {
    Q_INIT_RESOURCE(picture_art);
}

namespace sentinax {

void EnsurePictureResources() {
    static const bool registered = (InitPictureArt(), true);
    (void)registered;
}

} // namespace sentinax
