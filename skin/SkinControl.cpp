#include "SkinControl.h"

#include "ImageOps.h"

#include <QWidget>

namespace sentinax {

QRect RowPlace(const SkinRect& r) {
    return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
}

SkinControl::SkinControl(QWidget& widget, const std::string& name, int index, const SkinRect& rect)
    : name_(name), index_(index), place_(RowPlace(rect)) {
    widget.setGeometry(place_);
}

QImage SkinControl::FaceUnder(const QImage& face) const {
    QImage piece;
    CropImage(face, piece, place_.left(), place_.top(), place_.right() + 1, place_.bottom() + 1);
    return piece;
}

} // namespace sentinax
