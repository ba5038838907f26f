// The image operations of the skinned surface and its controls: decoding an
// image file, copying an image onto a surface, cutting a rectangle out of an
// image, and the window region of a mask image. Images are cut once, when the
// skin is loaded; painting only copies.
#pragma once

#include <QImage>
#include <QRegion>
#include <cstdint>
#include <optional>
#include <string>

class QPainter;

namespace sentinax {

// The largest image file read, and the largest width or height decoded.
constexpr std::size_t kMaxImageFileBytes = 32u << 20;
constexpr int kMaxImageSide = 8192;

// Reads the whole file (a regular file, at most kMaxImageFileBytes) and
// decodes it (JPEG, PNG, GIF, BMP: whatever the image readers know). On
// success image holds the picture, opaque ones as RGB32 and others as
// premultiplied ARGB32, and true is returned. On failure image is left as it
// was, false is returned and why says what went wrong ("does not exist",
// "cannot be decoded: ...").
bool LoadImageFile(const std::string& path, QImage& image, std::string* why = nullptr);

// Copies the image's top-left (right - left) x (bottom - top) pixels to the
// surface at (left, top); nothing for an empty image.
void DrawImage(QPainter& surface, const QImage& image, int left, int top, int right, int bottom);

// target receives the source's pixels from (left, top), (right - left) x
// (bottom - top) of them; parts outside the source are black. Nothing
// happens when the source is empty.
void CropImage(const QImage& source, QImage& target, int left, int top, int right, int bottom);

// The region of the image's non-transparent pixels (see ScanMask: one
// rectangle per run, regions made in chunks of 2,000 and united). None when
// the image is empty.
std::optional<QRegion> BitmapToRegion(const QImage& image, uint32_t key, uint32_t tolerance);

// The face as a premultiplied ARGB32 picture of its own size: its pixels
// inside the region opaque, every other pixel fully transparent (what a
// compositor shows through). Empty for an empty face.
QImage MaskedFace(const QImage& face, const QRegion& region);

} // namespace sentinax
