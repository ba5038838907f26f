// Where the pieces of the faces sit: the rows of the shipped skin files and
// the main window's layout of readouts and graphs.
#include "SkinFace.h"

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

const QList<QRect>& Readouts() {
    static const QList<QRect> readouts = {
        {116, 258, 50, 20}, {191, 132, 50, 20}, {337, 132, 50, 20},
        {229, 258, 50, 20}, {346, 258, 50, 20}, {460, 258, 60, 20},
        {230, 384, 50, 20}, {348, 384, 50, 20}, {465, 384, 50, 20},
    };
    return readouts;
}

const QList<QRect>& Graphs() {
    static const QList<QRect> graphs = {
        {97, 184, 87, 70},  {172, 54, 87, 73},  {317, 54, 87, 73},
        {212, 184, 87, 70}, {328, 184, 87, 70}, {443, 184, 87, 70},
        {212, 310, 88, 73}, {328, 310, 88, 73}, {445, 310, 88, 73},
    };
    return graphs;
}

QRect AnimatedPicture() {
    return QRect(443, 57, 96, 96);
}

} // namespace sentinax::art
