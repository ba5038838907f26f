// sentinax-art RUN_DIR RESOURCE_DIR: draws the shipped artwork.
#include "ArtTargets.h"

#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: sentinax-art RUN_DIR RESOURCE_DIR\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString runDir = QString::fromLocal8Bit(argv[1]);
    const QString resourceDir = QString::fromLocal8Bit(argv[2]);
    bool ok = sentinax::art::DrawSkinArt(runDir);
    ok = sentinax::art::DrawPictureArt(resourceDir) && ok;
    ok = sentinax::art::DrawIconArt(resourceDir) && ok;
    return ok ? 0 : 1;
}
