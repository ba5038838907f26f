// Where the pieces of the faces sit: the rows of the shipped skin files, and
// the main window's layout of readouts and graphs (widgets/MonitorLayout).
#include "SkinFace.h"

#include "widgets/MonitorLayout.h"

namespace sentinax::art {

const QList<ArtButton>& Buttons() {
    static const QList<ArtButton> buttons = {
        {QRect(12, 6, 120, 26), SkinIcon::Emblem, QStringLiteral("KORVANE"), true, false},
        {QRect(14, 60, 64, 22), SkinIcon::Thermometer, QStringLiteral("\u00B0C/\u00B0F")},
        {QRect(14, 90, 64, 22), SkinIcon::Snowflake, QStringLiteral("COOL")},
        {QRect(454, 8, 22, 20), SkinIcon::Menu, QString()},
        {QRect(478, 8, 22, 20), SkinIcon::Help, QString()},
        {QRect(502, 8, 22, 20), SkinIcon::Minimise, QString()},
        {QRect(526, 8, 22, 20), SkinIcon::Exit, QString(), false, true},
    };
    return buttons;
}

const QList<QRect>& Adjusters() {
    static const QList<QRect> adjusters = {
        {215, 40, 55, 18},  {160, 40, 55, 18},  {360, 40, 55, 18},  {305, 40, 55, 18},
        {255, 295, 55, 18}, {200, 295, 55, 18}, {370, 295, 55, 18}, {315, 295, 55, 18},
        {485, 295, 55, 18}, {435, 295, 55, 18}, {140, 170, 55, 18}, {85, 170, 55, 18},
        {255, 170, 55, 18}, {200, 170, 55, 18}, {370, 170, 55, 18}, {315, 170, 55, 18},
        {485, 170, 55, 18}, {430, 170, 55, 18},
    };
    return adjusters;
}

// The readouts, graphs and animated picture sit where the window places its
// widgets: the window's own layout table.
namespace {

QRect ToQRect(const PixelRect& r) {
    return QRect(r.x, r.y, r.width, r.height);
}

template <typename Pick> QList<QRect> EachItem(Pick pick) {
    QList<QRect> places;
    for (int i = 0; i < kReadoutCount; ++i)
        places.append(ToQRect(pick(MonitorLayout::Placement(static_cast<ReadoutItem>(i)))));
    return places;
}

} // namespace

const QList<QRect>& Readouts() {
    static const QList<QRect> readouts =
        EachItem([](const ItemPlacement& place) { return place.text; });
    return readouts;
}

const QList<QRect>& Graphs() {
    static const QList<QRect> graphs =
        EachItem([](const ItemPlacement& place) { return place.graph; });
    return graphs;
}

QRect AnimatedPicture() {
    return ToQRect(MonitorLayout::kAnimatedPicture);
}

} // namespace sentinax::art
