// The modal countdown shared by the over-temperature and the chassis
// dialogs: a centred text, a progress bar that fills in 30 timer steps, an OK
// button (default, Enter) and a Cancel button (Escape). When the 30th step
// comes the dialog closes as accepted, exactly as if OK had been pressed.
//
// Geometry is given in dialog units and converted with the dialog font's base
// units, the way dialog templates are laid out: x px = du_x * baseX / 4 and
// y px = du_y * baseY / 8, rounded to nearest. baseX is the average width of
// the 52 letters A-Z a-z, baseY the font's height. The font is the desktop's
// sans-serif at 8 pt; with it at 96 dpi the base units are about 6 x 13, the
// same as the classic 8 pt dialog font, so the templates keep their shape.
#pragma once

#include "config/ui/DialogFont.h"

#include <QDialog>
#include <QRect>
#include <QSize>
#include <QString>
#include <QTimer>

class QFont;
class QLabel;
class QProgressBar;
class QPushButton;

namespace sentinax {

// The dialog font: sans-serif, 8 pt.
QFont CountdownDialogFont();

// One countdown dialog's texts and its template geometry in dialog units.
struct CountdownTemplate {
    QString caption;
    QString text; // may hold line breaks; shown centred
    QString okText;
    QString cancelText;
    QSize size; // client area
    QRect textRect;
    QRect progressRect;
    QRect okRect;
    QRect cancelRect;
};

class CountdownDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kCountdownSteps = 30;
    static constexpr int kTickIntervalMs = 1000;

    // The widgets, for the owner's tests and for accessibility tools.
    QLabel* TextLabel() const { return text_; }
    QProgressBar* ProgressBar() const { return progress_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }
    // Base units this dialog was laid out with (pixels).
    QSize BaseUnits() const { return base_; }
    int TickIntervalMs() const { return countdown_.interval(); }

    // Opening resets the bar and the counter to 0 and starts the timer. When
    // the owner window is hidden (monitor in the tray) or absent, the dialog
    // is centred on the screen and raised on its own.
    void setVisible(bool visible) override;

    // Puts every open countdown back on top, for an owner that has just been
    // shown or raised itself: an owner shown again becomes their transient
    // parent once more. Without a window manager nothing keeps a dialog above
    // its owner, so whoever raises the owner must call this.
    static void RaiseOpen(QWidget* owner);
    static int OpenCount();

    ~CountdownDialog() override;

protected:
    // ticks: the process-wide counter of the concrete dialog, set to 0 at
    // every opening and raised by one per timer step. intervalMs: the step
    // period; tests pass a short one.
    CountdownDialog(const CountdownTemplate& layout, int& ticks, QWidget* parent, int intervalMs);

    // One timer step: advance the bar, count, accept on the 30th step.
    void OnCountdownTick();

private:
    void StartCountdown();
    void PlaceWithoutVisibleOwner();
    void KeepOnTop(QWidget* owner);

    int& ticks_;
    QSize base_;
    QTimer countdown_;
    QLabel* text_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

} // namespace sentinax
