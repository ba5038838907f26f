#include "CSentinaxApp.h"

#include "CMainDialog.h"

#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <clocale>

namespace sentinax {

CSentinaxApp::CSentinaxApp(int& argc, char** argv) : QApplication(argc, argv) {
    // No name of our own: captions use the program's file name, as message
    // boxes of the framework do.
    setQuitOnLastWindowClosed(false);
    // Qt has just taken the whole locale from the environment. Numbers in
    // log.dat, the settings file, the readouts and the graph labels always use
    // a point, whatever the user's language: the segment readouts have no comma.
    std::setlocale(LC_NUMERIC, "C");
}

bool CSentinaxApp::InitInstance() {
    if (instanceLock_.Acquire() != InstanceLock::Result::Acquired) {
        QMessageBox box(QMessageBox::NoIcon, applicationName(),
                        QString::fromLatin1(kAlreadyRunning), QMessageBox::Ok);
        box.exec();
        return false;
    }
    const QIcon icon = MakeAppIcon();
    for (QIcon& slot : Icons)
        slot = icon;
    setWindowIcon(icon);

    CMainDialog dialog(*this);
    dialog.DoModal();
    return false;
}

int CSentinaxApp::ExitInstance() {
    instanceLock_.Release();
    return 0;
}

QIcon MakeAppIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r(0.5, 0.5, size - 1.0, size - 1.0);
        p.setPen(QPen(QColor(20, 40, 60), size / 16.0));
        p.setBrush(QColor(28, 92, 140));
        p.drawEllipse(r);
        // A pulse line across the dial.
        QPainterPath pulse;
        const double y = size * 0.55;
        pulse.moveTo(size * 0.12, y);
        pulse.lineTo(size * 0.35, y);
        pulse.lineTo(size * 0.45, size * 0.25);
        pulse.lineTo(size * 0.58, size * 0.8);
        pulse.lineTo(size * 0.66, y);
        pulse.lineTo(size * 0.88, y);
        p.setPen(QPen(QColor(120, 255, 140), qMax(1.5, size / 12.0), Qt::SolidLine, Qt::RoundCap,
                      Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(pulse);
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace sentinax
