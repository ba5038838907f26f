#include "alerts/ui/CountdownDialog.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <vector>

namespace sentinax {

namespace {

// The countdowns that are open, oldest first (one may run inside another's loop).
std::vector<CountdownDialog*>& OpenDialogs() {
    static std::vector<CountdownDialog*> open;
    return open;
}

void Forget(CountdownDialog* dialog) {
    auto& open = OpenDialogs();
    open.erase(std::remove(open.begin(), open.end(), dialog), open.end());
}

} // namespace

QFont CountdownDialogFont() {
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}

CountdownDialog::CountdownDialog(const CountdownTemplate& layout, int& ticks, QWidget* parent,
                                 int intervalMs)
    // On top of every other window: with a window manager the dialog stays
    // above the owner (transient) and above other programs (stays-on-top);
    // without one, it is raised after it is mapped and at every step.
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint),
      ticks_(ticks) {
    setWindowTitle(layout.caption);
    setModal(true);
    setFont(CountdownDialogFont());
    base_ = DialogBaseUnits(font());
    setFixedSize(MapDialogSize(layout.size, base_));

    text_ = new QLabel(layout.text, this);
    text_->setTextFormat(Qt::PlainText);
    text_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    text_->setWordWrap(true);
    text_->setGeometry(MapDialogRect(layout.textRect, base_));

    progress_ = new QProgressBar(this);
    progress_->setRange(0, kCountdownSteps);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    progress_->setGeometry(MapDialogRect(layout.progressRect, base_));

    ok_ = new QPushButton(layout.okText, this);
    ok_->setGeometry(MapDialogRect(layout.okRect, base_));
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    cancel_ = new QPushButton(layout.cancelText, this);
    cancel_->setGeometry(MapDialogRect(layout.cancelRect, base_));
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    countdown_.setInterval(intervalMs > 0 ? intervalMs : kTickIntervalMs);
    connect(&countdown_, &QTimer::timeout, this, &CountdownDialog::OnCountdownTick);
}

CountdownDialog::~CountdownDialog() {
    Forget(this);
}

void CountdownDialog::setVisible(bool visible) {
    if (!visible) {
        // However the dialog closes (button, key, done(), hide), no step may
        // come after it.
        countdown_.stop();
        Forget(this);
        QDialog::setVisible(false);
        return;
    }
    if (isVisible()) {
        return;
    }
    PlaceWithoutVisibleOwner();
    StartCountdown();
    ok_->setFocus(Qt::OtherFocusReason);
    OpenDialogs().push_back(this);
    QDialog::setVisible(true);
    raise();
    activateWindow();
}

int CountdownDialog::OpenCount() {
    return static_cast<int>(OpenDialogs().size());
}

void CountdownDialog::RaiseOpen(QWidget* owner) {
    for (CountdownDialog* dialog : OpenDialogs())
        dialog->KeepOnTop(owner);
}

void CountdownDialog::KeepOnTop(QWidget* owner) {
    QWidget* mine = parentWidget() ? parentWidget()->window() : nullptr;
    if (owner && owner == mine && owner->isVisible() && windowHandle() && owner->windowHandle() &&
        windowHandle()->transientParent() != owner->windowHandle()) {
        // Placed on its own while the owner was hidden: tied to it again, so
        // that a window manager (and a Wayland compositor) keeps it above.
        windowHandle()->setTransientParent(owner->windowHandle());
    }
    raise();
}

void CountdownDialog::StartCountdown() {
    progress_->setValue(0);
    ticks_ = 0;
    countdown_.start();
}

void CountdownDialog::PlaceWithoutVisibleOwner() {
    QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (owner && owner->isVisible()) {
        // The usual placement over the owner applies; an earlier opening
        // with the owner hidden may have cut the link to it.
        if (windowHandle() && owner->windowHandle()) {
            windowHandle()->setTransientParent(owner->windowHandle());
        }
        return;
    }
    // A window transient for a withdrawn one may be kept out of sight by the
    // window manager; a hidden owner must not hide the warning.
    create();
    if (QWindow* handle = windowHandle()) {
        handle->setTransientParent(nullptr);
    }
    QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

void CountdownDialog::OnCountdownTick() {
    progress_->setValue(qMin(progress_->value() + 1, kCountdownSteps));
    // Whatever was raised meanwhile, the countdown comes back on top.
    raise();
    ++ticks_;
    if (ticks_ == kCountdownSteps) {
        accept();
    }
}

} // namespace sentinax
