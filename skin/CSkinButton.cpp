#include "CSkinButton.h"

#include <QMouseEvent>
#include <QPointer>

namespace sentinax {

CSkinButton::CSkinButton(const ButtonInfo& row, const ButtonPictures& pictures, QWidget* parent)
    : CHoverButton(parent), SkinControl(*this, row.Name, row.Index, row.Rect) {
    SetImages(Place(), pictures.Normal, pictures.Over, pictures.Down, pictures.Disabled);
    SetTooltipText(QString::fromStdString(row.Tooltip), true);
    SetStaticFace(row.StaticFace);
    show();
}

void CSkinButton::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    emit pointerOver(Index(), pos.x(), pos.y());
    CHoverButton::mouseMoveEvent(event);
}

void CSkinButton::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && ReleaseIsClick(width(), height(), pos.x(), pos.y())) {
        SetHover(false);
        // The command runs before the button's own release handling, and may
        // end the window's run or even release the skin; the receiver also
        // forgets every face button's pointer state afterwards, this one's
        // press included, so the release handling below only forgets the press.
        QPointer<CSkinButton> alive(this);
        emit buttonClicked(Index());
        if (!alive)
            return;
    }
    CHoverButton::mouseReleaseEvent(event);
}

} // namespace sentinax
