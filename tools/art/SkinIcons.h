// The skins' icons, drawn as vector shapes into a rectangle in one colour.
#pragma once

#include <QColor>
#include <QRectF>

class QPainter;

namespace sentinax::art {

enum class SkinIcon {
    Menu,        // three bars
    Help,        // a question mark
    Minimise,    // a bar at the bottom
    Exit,        // a cross
    Thermometer, // the unit switch
    Snowflake,   // the cooling tool
    Bolt,        // the voltage section
    Fan,         // the fan section
    Emblem,      // the maker's mark: a hexagon with a pulse line
};

void DrawIcon(QPainter& p, SkinIcon icon, const QRectF& box, const QColor& colour);

} // namespace sentinax::art
