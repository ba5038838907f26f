// The shipped skins against the pictures the build draws for them: every
// picture a skin names exists and decodes at the window's size, every button,
// text field and adjuster lies inside the mask's window, and every readout and
// graph of the window's layout sits on a dark well of the face.
#include "skin/ImageOps.h"
#include "skin/MaskScan.h"
#include "skin/SkinReader.h"
#include "widgets/MonitorLayout.h"

#include <QImage>
#include <QRegion>

#include <gtest/gtest.h>

#include <string>

namespace sentinax {
namespace {

const std::string kSources = SX_SHIPPED_SKINS;
const std::string kPictures = std::string(SX_RUN_DIR) + "/Skins/";

struct Shipped {
    const char* file;
    bool thirdFan; // the board shows the third fan's readout and graph
};
constexpr Shipped kSkins[] = {{"Skin.ini", true}, {"Skin4120.ini", false}, {"SkinBB.ini", false}};

QImage Picture(const std::string& name) {
    QImage image;
    std::string why;
    EXPECT_TRUE(LoadImageFile(kPictures + name, image, &why)) << name << " " << why;
    return image;
}

QRect ToQRect(const SkinRect& r) {
    return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
}

bool Inside(const QRegion& window, const QRect& r) {
    return !r.isEmpty() && window.intersected(r) == QRegion(r);
}

int Luminance(QRgb c) {
    return (qRed(c) * 30 + qGreen(c) * 59 + qBlue(c) * 11) / 100;
}

TEST(ShippedArt, EveryNamedPictureExistsAtTheWindowsSize) {
    for (const Shipped& s : kSkins) {
        SCOPED_TRACE(s.file);
        const SkinDescription skin = ReadSkin(CIniFile(kSources + "/" + s.file));
        const QImage mask = Picture(skin.Screen.Mask);
        ASSERT_FALSE(mask.isNull());
        for (const std::string* name :
             {&skin.Screen.Over, &skin.Screen.Down, &skin.Screen.Disabled})
            EXPECT_NE(*name, skin.Screen.Main) << "each state has its own picture";
        for (const std::string* name :
             {&skin.Screen.Main, &skin.Screen.Over, &skin.Screen.Down, &skin.Screen.Disabled})
            EXPECT_EQ(Picture(*name).size(), mask.size()) << *name;
        ASSERT_FALSE(skin.Sliders.empty());
        for (const SliderInfo& row : skin.Sliders) {
            EXPECT_FALSE(Picture(row.ThumbImage).isNull());
            EXPECT_FALSE(Picture(row.ThumbDragImage).isNull());
        }
    }
}

TEST(ShippedArt, ControlsAndTheLayoutLieInsideTheMask) {
    for (const Shipped& s : kSkins) {
        SCOPED_TRACE(s.file);
        const SkinDescription skin = ReadSkin(CIniFile(kSources + "/" + s.file));
        const std::optional<QRegion> window =
            BitmapToRegion(Picture(skin.Screen.Mask), kMaskKey, kMaskTolerance);
        ASSERT_TRUE(window.has_value());
        EXPECT_FALSE(window->contains(QPoint(0, 0))) << "the corners are cut: the mask matters";
        for (const ButtonInfo& row : skin.Buttons)
            EXPECT_TRUE(Inside(*window, ToQRect(row.Rect))) << row.Name;
        for (const TextInfo& row : skin.Texts)
            EXPECT_TRUE(Inside(*window, ToQRect(row.Rect))) << row.Name;
        for (const SliderInfo& row : skin.Sliders)
            EXPECT_TRUE(Inside(*window, ToQRect(row.Rect))) << row.Name;
        for (int i = 0; i < kReadoutCount; ++i) {
            const auto item = static_cast<ReadoutItem>(i);
            if (item == ReadoutItem::PowerFan && !s.thirdFan)
                continue;
            const ItemPlacement& place = MonitorLayout::Placement(item);
            for (const PixelRect& r : {place.text, place.graph})
                EXPECT_TRUE(Inside(*window, QRect(r.x, r.y, r.width, r.height))) << i;
        }
    }
}

// The well is dark right up to the widget's edges and the panel around it is
// lighter: the face's wells sit exactly under the readouts and graphs.
TEST(ShippedArt, WellsSitExactlyUnderTheReadoutsAndGraphs) {
    for (const Shipped& s : kSkins) {
        SCOPED_TRACE(s.file);
        const SkinDescription skin = ReadSkin(CIniFile(kSources + "/" + s.file));
        const QImage face = Picture(skin.Screen.Main);
        ASSERT_FALSE(face.isNull());
        auto check = [&](const PixelRect& r, const char* what) {
            const QRect well(r.x, r.y, r.width, r.height);
            for (QPoint corner : {well.topLeft() + QPoint(1, 1), well.topRight() + QPoint(-1, 1),
                                  well.bottomLeft() + QPoint(1, -1),
                                  well.bottomRight() - QPoint(1, 1), well.center()})
                EXPECT_LT(Luminance(face.pixel(corner)), 24)
                    << what << " at " << corner.x() << "," << corner.y();
            // Right outside the widget's edges the well's rim is lit.
            for (QPoint rim : {QPoint(well.left() - 1, well.center().y()),
                               QPoint(well.center().x(), well.top() - 1)})
                EXPECT_GT(Luminance(face.pixel(rim)), 48)
                    << what << " rim at " << rim.x() << "," << rim.y();
        };
        for (int i = 0; i < kReadoutCount; ++i) {
            const auto item = static_cast<ReadoutItem>(i);
            if (item == ReadoutItem::PowerFan && !s.thirdFan)
                continue;
            check(MonitorLayout::Placement(item).text, "readout");
            check(MonitorLayout::Placement(item).graph, "graph");
        }
    }
}

// Each clickable button looks different in each state; the maker's plate
// (a static face) only has its one look.
TEST(ShippedArt, ButtonStatesAreDistinct) {
    for (const Shipped& s : kSkins) {
        SCOPED_TRACE(s.file);
        const SkinDescription skin = ReadSkin(CIniFile(kSources + "/" + s.file));
        const QImage main = Picture(skin.Screen.Main), over = Picture(skin.Screen.Over),
                     down = Picture(skin.Screen.Down), disabled = Picture(skin.Screen.Disabled);
        auto differ = [](const QImage& a, const QImage& b, const QRect& r) {
            int changed = 0;
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x)
                    changed += std::abs(Luminance(a.pixel(x, y)) - Luminance(b.pixel(x, y))) > 12;
            return changed > r.width() * r.height() / 10;
        };
        for (const ButtonInfo& row : skin.Buttons) {
            if (row.StaticFace)
                continue;
            const QRect r = ToQRect(row.Rect);
            EXPECT_TRUE(differ(main, over, r)) << row.Name << " hover";
            EXPECT_TRUE(differ(over, down, r)) << row.Name << " pressed";
            EXPECT_TRUE(differ(main, disabled, r)) << row.Name << " disabled";
        }
    }
}

} // namespace
} // namespace sentinax
