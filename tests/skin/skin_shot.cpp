// sx-skin-shot SHOT.png MASK.png OUT.png: a screenshot of a skinned window
// (cut from the screen at the window's place) with the part its mask leaves
// out (pure white) made transparent, as the window looks on a desktop.
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: sx-skin-shot SHOT.png MASK.png OUT.png\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QImage shot(QString::fromLocal8Bit(argv[1]));
    const QImage mask =
        QImage(QString::fromLocal8Bit(argv[2])).convertToFormat(QImage::Format_RGB32);
    if (shot.isNull() || mask.isNull()) {
        std::fprintf(stderr, "sx-skin-shot: cannot read %s or %s\n", argv[1], argv[2]);
        return 1;
    }
    shot = shot.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < shot.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(shot.scanLine(y));
        for (int x = 0; x < shot.width(); ++x) {
            const bool outside = x >= mask.width() || y >= mask.height() ||
                                 (mask.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF;
            if (outside)
                line[x] = qRgba(0, 0, 0, 0);
        }
    }
    if (!shot.save(QString::fromLocal8Bit(argv[3]))) {
        std::fprintf(stderr, "sx-skin-shot: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
