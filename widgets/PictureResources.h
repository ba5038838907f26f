// The pictures compiled into the program (drawn at build time by tools/art):
// ":/GIF/129", the main window's animated picture, and ":/BITMAP/135", the
// About box background. The widgets that read them call this first: a static
// library's resources are only registered once something refers to them.
#pragma once

namespace sentinax {

void EnsurePictureResources();

} // namespace sentinax
