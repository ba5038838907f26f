// A top-level Qt window with the given title, shown until the process is
// killed: with QT_QPA_PLATFORM=wayland a native Wayland window, the stand-in
// for a program whose window pauses the monitor in a Wayland session, or for
// the window a click on the monitor's cut-out corner must reach. Each press
// of a mouse button on it prints "pressed X Y" (window coordinates).
// Usage: sx-qt-titled-window TITLE
#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <cstdio>

namespace {

class ClickedWindow : public QWidget {
protected:
    void mousePressEvent(QMouseEvent* event) override {
        const QPoint at = event->position().toPoint();
        std::printf("pressed %d %d\n", at.x(), at.y());
        std::fflush(stdout);
    }
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s TITLE\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    ClickedWindow window;
    window.setWindowTitle(QString::fromUtf8(argv[1]));
    window.resize(200, 80);
    window.show();
    return app.exec();
}
