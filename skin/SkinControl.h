// What every control made from a skin row shares: the row's name, its index
// (row key - 1, which is what its signals carry), and its place on the
// surface, given to the widget when it is made. A control knows nothing of
// the surface: it tells its owner through its own Qt signals, and the owner
// finds the control's name from the index.
#pragma once

#include "SkinReader.h"

#include <QImage>
#include <QRect>
#include <string>

class QWidget;

namespace sentinax {

// A row's rectangle (right and bottom edges outside it) as a widget's geometry.
QRect RowPlace(const SkinRect& rect);

class SkinControl {
public:
    const std::string& Name() const { return name_; }
    int Index() const { return index_; }

protected:
    // Puts widget at the row's place on its parent.
    SkinControl(QWidget& widget, const std::string& name, int index, const SkinRect& rect);
    ~SkinControl() = default;

    // The face's pixels under the control; empty where the face has none.
    QImage FaceUnder(const QImage& face) const;
    const QRect& Place() const { return place_; }

private:
    std::string name_;
    int index_;
    QRect place_;
};

} // namespace sentinax
