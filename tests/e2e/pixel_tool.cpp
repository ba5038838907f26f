// sx-pixel: prints the colour of pixels of a PNG as "R G B" lines, for tests
// that check what a screenshot shows at a point.
//   sx-pixel FILE.png X Y [X Y ...]
#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 4 || argc % 2 != 0) {
        std::fprintf(stderr, "usage: %s FILE.png X Y [X Y ...]\n", argv[0]);
        return 2;
    }
    const QImage image(QString::fromLocal8Bit(argv[1]));
    if (image.isNull()) {
        std::fprintf(stderr, "sx-pixel: %s: cannot read it\n", argv[1]);
        return 1;
    }
    for (int i = 2; i + 1 < argc; i += 2) {
        const int x = std::atoi(argv[i]), y = std::atoi(argv[i + 1]);
        if (!image.valid(x, y)) {
            std::fprintf(stderr, "sx-pixel: %d,%d lies outside %dx%d\n", x, y, image.width(),
                         image.height());
            return 1;
        }
        const QRgb c = image.pixel(x, y);
        std::printf("%d %d %d\n", qRed(c), qGreen(c), qBlue(c));
    }
    return 0;
}
