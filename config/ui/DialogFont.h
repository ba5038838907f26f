// Dialog units on a Qt font: its base units (the average width of the 52
// letters A-Z a-z, rounded, and the font's height) and rectangles given in
// dialog units mapped to pixels (config/DialogUnits.h).
#pragma once

#include "config/DialogUnits.h"

#include <QFont>
#include <QFontMetrics>
#include <QRect>
#include <QSize>
#include <QString>

namespace sentinax {

// Base units of a font: average letter width, character height; in pixels,
// at least 1 each.
inline QSize DialogBaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    // Average over the 52 letters, rounded to nearest.
    const int average = (letters / 26 + 1) / 2;
    return QSize(qMax(1, average), qMax(1, metrics.height()));
}

inline QRect MapDialogRect(const QRect& dialogUnits, const QSize& base) {
    return QRect(DialogUnitsAcross(dialogUnits.x(), base.width()),
                 DialogUnitsDown(dialogUnits.y(), base.height()),
                 DialogUnitsAcross(dialogUnits.width(), base.width()),
                 DialogUnitsDown(dialogUnits.height(), base.height()));
}

inline QSize MapDialogSize(const QSize& dialogUnits, const QSize& base) {
    return MapDialogRect(QRect(QPoint(0, 0), dialogUnits), base).size();
}

} // namespace sentinax
