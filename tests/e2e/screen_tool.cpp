// sx-screen: cuts a rectangle out of the screen of a test X server (Xvfb
// -fbdir keeps its screen as an XWD file) and saves it as PNG, for tests that
// compare what two runs showed and for screenshots kept as artefacts.
//   sx-screen XWD_FILE OUT.png [X Y WIDTH HEIGHT]
// Prints the number of distinct colours in the cut, so a caller can tell an
// empty area from a drawn one.
#include <QGuiApplication>
#include <QImage>
#include <QSet>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

uint32_t BigEndian(const std::vector<unsigned char>& d, size_t offset) {
    return uint32_t(d[offset]) << 24 | uint32_t(d[offset + 1]) << 16 |
           uint32_t(d[offset + 2]) << 8 | uint32_t(d[offset + 3]);
}

int Fail(const char* message) {
    std::fprintf(stderr, "sx-screen: %s\n", message);
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 7)
        return Fail("usage: sx-screen XWD_FILE OUT.png [X Y WIDTH HEIGHT]");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<unsigned char> d((std::istreambuf_iterator<char>(in)), {});
    if (d.size() < 100)
        return Fail("not an XWD file");
    // XWD header: 25 big-endian 32-bit fields, then the window name and the
    // colour map (12 bytes an entry), then the pixels.
    const uint32_t headerSize = BigEndian(d, 0);
    const uint32_t width = BigEndian(d, 16);
    const uint32_t height = BigEndian(d, 20);
    const uint32_t byteOrder = BigEndian(d, 28);
    const uint32_t bitsPerPixel = BigEndian(d, 44);
    const uint32_t bytesPerLine = BigEndian(d, 48);
    const uint32_t colours = BigEndian(d, 76);
    const size_t start = size_t(headerSize) + size_t(colours) * 12;
    if (bitsPerPixel != 32 || width == 0 || height == 0 || width > 16384 || height > 16384 ||
        bytesPerLine < width * 4 || start + size_t(bytesPerLine) * height > d.size())
        return Fail("unsupported XWD layout (a 24-bit Xvfb screen is expected)");

    QImage screen(int(width), int(height), QImage::Format_RGB32);
    for (uint32_t y = 0; y < height; ++y) {
        const unsigned char* row = d.data() + start + size_t(y) * bytesPerLine;
        auto* out = reinterpret_cast<QRgb*>(screen.scanLine(int(y)));
        for (uint32_t x = 0; x < width; ++x) {
            const unsigned char* p = row + x * 4;
            const uint32_t v = byteOrder == 0
                                   ? uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16
                                   : uint32_t(p[3]) | uint32_t(p[2]) << 8 | uint32_t(p[1]) << 16;
            out[x] = 0xFF000000u | v;
        }
    }
    QImage cut = screen;
    if (argc == 7) {
        const QRect r(std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]),
                      std::atoi(argv[6]));
        if (!screen.rect().contains(r))
            return Fail("the rectangle is not on the screen");
        cut = screen.copy(r);
    }
    QSet<QRgb> distinct;
    for (int y = 0; y < cut.height(); ++y)
        for (int x = 0; x < cut.width(); ++x)
            distinct.insert(cut.pixel(x, y));
    if (!cut.save(QString::fromLocal8Bit(argv[2]), "PNG"))
        return Fail("cannot write the PNG file");
    std::printf("colours %lld\n", static_cast<long long>(distinct.size()));
    return 0;
}
