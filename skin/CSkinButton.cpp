#include "CSkinButton.h"

#include "CSkinDialog.h"

#include <QMouseEvent>
#include <QPointer>

namespace sentinax {

CSkinButton::CSkinButton(CSkinDialog& surface, const ButtonInfo& row)
    : CHoverButton(&surface), surface_(surface), name_(row.Name), index_(row.Index) {
    const QRect place(row.Rect.Left, row.Rect.Top, row.Rect.Right - row.Rect.Left,
                      row.Rect.Bottom - row.Rect.Top);
    setGeometry(place);
    SetImages(place, surface.MainImage(), surface.OverImage(), surface.DownImage(),
              surface.DisabledImage());
    SetTooltipText(QString::fromStdString(row.Tooltip), true);
    SetStaticFace(row.StaticFace);
    show();
}

void CSkinButton::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    surface_.OnPointerOver(name_, pos.x(), pos.y());
    CHoverButton::mouseMoveEvent(event);
}

void CSkinButton::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && ReleaseIsClick(width(), height(), pos.x(), pos.y())) {
        SetHover(false);
        // The command runs before the button's own release handling, and may
        // end the window's run or even release the skin.
        QPointer<CSkinButton> alive(this);
        surface_.OnButtonIndex(index_);
        if (!alive)
            return;
        // The command may have run a menu or a dialog: whatever pointer state
        // the face's buttons held from before it is stale now, this button's
        // own press included; the release handling below then only forgets
        // the press.
        surface_.ResetPointerStates();
    }
    CHoverButton::mouseReleaseEvent(event);
}

} // namespace sentinax
