// The shipped skins' pictures: for each skin its face in the four button
// looks (JPEG) and its mask (PNG), and the adjusters' thumbs, into
// runDir/Skins/. Everything is drawn here from code, the same on every build.
#include "ArtTargets.h"
#include "SkinFace.h"

#include <QDir>
#include <QImageWriter>
#include <cstdio>

namespace sentinax::art {

namespace {

const QList<SkinSpec>& Skins() {
    static const QList<SkinSpec> skins = {
        // Skin.ini: steel blue with cyan, three fans.
        {QString(),
         Outline::Rounded,
         {QColor(62, 82, 106), QColor(30, 41, 56), QColor(17, 24, 33), QColor(24, 33, 45),
          QColor(64, 212, 240), QColor(140, 164, 190), QColor(6, 9, 13)},
         true,
         QRect(20, 407, 520, 18),
         QStringLiteral("HARDWARE HEALTH MONITOR")},
        // Skin4120.ini: steel with green, two fans, the third fan's corner cut away.
        {QStringLiteral("Compact"),
         Outline::Compact,
         {QColor(58, 80, 100), QColor(28, 40, 52), QColor(16, 24, 31), QColor(23, 33, 42),
          QColor(92, 226, 140), QColor(136, 166, 182), QColor(6, 9, 12)},
         false,
         QRect(20, 407, 400, 18),
         QStringLiteral("COMPACT HEALTH MONITOR")},
        // SkinBB.ini: graphite blue with amber, two fans, cut corners.
        {QStringLiteral("BB"),
         Outline::Chamfered,
         {QColor(60, 68, 84), QColor(26, 30, 40), QColor(15, 17, 23), QColor(22, 25, 33),
          QColor(255, 178, 72), QColor(158, 164, 180), QColor(7, 8, 11)},
         false,
         QRect(20, 407, 520, 18),
         QStringLiteral("BOARD HEALTH MONITOR")},
    };
    return skins;
}

bool Save(const QImage& image, const QString& path, int quality = -1) {
    QImageWriter writer(path);
    if (quality >= 0)
        writer.setQuality(quality);
    writer.setOptimizedWrite(true);
    if (writer.write(image))
        return true;
    std::fprintf(stderr, "sentinax-art: cannot write %s: %s\n", qPrintable(path),
                 qPrintable(writer.errorString()));
    return false;
}

} // namespace

bool DrawSkinArt(const QString& runDir) {
    const QString dir = runDir + QStringLiteral("/Skins/");
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "sentinax-art: cannot make %s\n", qPrintable(dir));
        return false;
    }
    // Faces are photographs of a panel as far as the format goes: JPEG at a
    // quality that keeps the engraved captions crisp.
    constexpr int kFaceQuality = 95;
    bool ok = true;
    const std::pair<Look, const char*> looks[] = {{Look::Normal, "Main"},
                                                  {Look::Over, "Over"},
                                                  {Look::Down, "Down"},
                                                  {Look::Disabled, "Disabled"}};
    for (const SkinSpec& skin : Skins()) {
        for (const auto& [look, name] : looks)
            ok = Save(DrawFace(skin, look), dir + skin.Prefix + name + ".jpg", kFaceQuality) && ok;
        ok = Save(DrawMask(skin), dir + skin.Prefix + "Mask.png") && ok;
    }
    ok = Save(DrawThumb(false), dir + "Normal.jpg", 100) && ok;
    ok = Save(DrawThumb(true), dir + "Sel.jpg", 100) && ok;
    return ok;
}

} // namespace sentinax::art
