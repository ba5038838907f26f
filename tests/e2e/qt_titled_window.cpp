// A top-level Qt window with the given title, shown until the process is
// killed: with QT_QPA_PLATFORM=wayland a native Wayland window, the stand-in
// for a program whose window pauses the monitor in a Wayland session.
// Usage: sx-qt-titled-window TITLE
#include <QApplication>
#include <QWidget>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s TITLE\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QString::fromUtf8(argv[1]));
    window.resize(200, 80);
    window.show();
    return app.exec();
}
