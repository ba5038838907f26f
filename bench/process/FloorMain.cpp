// The floor of the process benchmark: the least a Qt 6 program can do per
// sample. It makes a QApplication, opens every *_input file of the hwmon tree
// once, and on a precise 1 s timer reads them all with pread at offset 0, as
// the monitor's hardware library does. What it shows is chosen on the command
// line:
//   (nothing)   no window at all: the least any Qt program costs per sample;
//   --tray      no window, one tray icon with a fixed tip: the floor of a
//               monitor hidden to the tray (the icon is all it shows);
//   --label     one QLabel shown and given a new text on every tick: the
//               floor of a window that shows a reading;
//   --face      with --label, also what the monitor's face animates while
//               shown: a 96 x 96 picture that changes every 50 ms and a
//               520 x 18 line of text that moves on every 150 ms, each drawn
//               once at start-up, so only copying and the flush to the X
//               server remain (those animations at Qt's own minimum).
// --root DIR   the tree's root (DIR/sys/class/hwmon/hwmon*/); default "/".
// --interval MS the sampling period; default 1000.
// It prints nothing and runs until it is killed.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPainter>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

// Opens the inputs of every chip below root, like the library: once, without
// blocking, then read again and again with pread.
std::vector<int> OpenInputs(const QString& root) {
    std::vector<int> fds;
    const QDir hwmon(root + QStringLiteral("/sys/class/hwmon"));
    for (const QString& chip : hwmon.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QDir dir(hwmon.filePath(chip));
        for (const QString& name : dir.entryList({QStringLiteral("*_input")}, QDir::Files)) {
            const int fd = ::open(dir.filePath(name).toLocal8Bit().constData(),
                                  O_RDONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0)
                fds.push_back(fd);
        }
    }
    return fds;
}

long ReadAll(const std::vector<int>& fds) {
    long sum = 0;
    char buffer[32];
    for (int fd : fds) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer - 1, 0);
        if (n > 0) {
            buffer[n] = '\0';
            sum += std::strtol(buffer, nullptr, 10);
        }
    }
    return sum;
}

// Shows the next of a few pictures every period; each picture is drawn once
// at start-up, so per step only a copy and the flush to the server remain.
class Flipbook : public QWidget {
public:
    Flipbook(QWidget* parent, QSize size, int pages, int periodMs) : QWidget(parent) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        resize(size);
        for (int i = 0; i < pages; ++i) {
            QImage page(size, QImage::Format_RGB32);
            page.fill(QColor(40 + 20 * (i % 8), 80, 120));
            QPainter painter(&page);
            painter.fillRect(8 + 8 * i, 4, 16, size.height() - 8, Qt::white);
            pages_.push_back(page);
        }
        // Coarse, as the monitor's own animations: Qt puts both on the same
        // 50 ms boundaries, so their repaints share a pass.
        timer_.setTimerType(Qt::CoarseTimer);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] {
            page_ = (page_ + 1) % pages_.size();
            update();
        });
        timer_.start(periodMs);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(0, 0, pages_[page_]);
    }

private:
    std::vector<QImage> pages_;
    size_t page_ = 0;
    QTimer timer_;
};

} // namespace

int main(int argc, char** argv) {
    QString root = QStringLiteral("/");
    int interval = 1000;
    bool label = false;
    bool face = false;
    bool tray = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--label") == 0) {
            label = true;
        } else if (std::strcmp(argv[i], "--tray") == 0) {
            tray = true;
        } else if (std::strcmp(argv[i], "--face") == 0) {
            label = face = true;
        } else if (std::strcmp(argv[i], "--root") == 0 && i + 1 < argc) {
            root = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(argv[i], "--interval") == 0 && i + 1 < argc) {
            interval = std::atoi(argv[++i]);
        } else {
            std::fprintf(stderr, "usage: %s [--tray | --label | --face] [--root DIR] [--interval MS]\n",
                         argv[0]);
            return 2;
        }
    }
    QApplication app(argc, argv);
    const std::vector<int> inputs = OpenInputs(root);
    if (inputs.empty())
        std::fprintf(stderr, "%s: no hwmon inputs below %s\n", argv[0], qPrintable(root));

    QWidget window;
    QLabel* text = nullptr;
    if (label) {
        window.setWindowTitle(QStringLiteral("floor"));
        window.resize(face ? 560 : 140, face ? 430 : 40);
        text = new QLabel(&window);
        text->setGeometry(10, 10, 120, 20);
        if (face) {
            (new Flipbook(&window, QSize(96, 96), 8, 50))->move(443, 57);
            (new Flipbook(&window, QSize(520, 18), 60, 150))->move(20, 407);
        }
        window.show();
    }

    // A 16 x 16 icon drawn once, as the monitor's; the tip never changes.
    QSystemTrayIcon icon;
    if (tray) {
        QPixmap picture(16, 16);
        picture.fill(QColor(30, 120, 200));
        icon.setIcon(QIcon(picture));
        icon.setToolTip(QStringLiteral("floor"));
        icon.show();
    }

    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    long ticks = 0;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const long sum = ReadAll(inputs);
        // The tick count makes every text new: a label ignores the same text.
        if (text)
            text->setText(QString::number(sum) + QLatin1Char(' ') + QString::number(++ticks));
    });
    timer.start(interval);
    return app.exec();
}
