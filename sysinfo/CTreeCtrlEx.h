// A tree whose items can carry their own text colour and be shown bold. Items
// are inserted as the last child of their parent, with text only.
//
// The style of an item lives with the item (a colour record set by
// SetItemColor, the bold state set by SetItemBold) and goes away with it. How
// an item is drawn:
//   - without a colour record: as the tree draws it, bold when set;
//   - with a record: in its colour (0xFFFFFFFF: the window text colour), in the
//     tree's font, bold when set;
//   - selected while the tree has the focus: the normal selection look;
//     selected without the focus: the selection shows around a window-coloured
//     box holding the text in its own colour.
// Qt paints widgets into a back buffer and shows it in one step, so the
// overdrawn items never flicker.
#pragma once

#include <QTreeWidget>
#include <cstdint>
#include <optional>

namespace sentinax {

class CTreeCtrlEx : public QTreeWidget {
    Q_OBJECT
public:
    // A colour with red in the low byte, then green, then blue.
    static constexpr uint32_t kWindowTextColor = 0xFFFFFFFF;
    static constexpr uint32_t Rgb(uint8_t r, uint8_t g, uint8_t b) {
        return static_cast<uint32_t>(r) | (static_cast<uint32_t>(g) << 8) |
               (static_cast<uint32_t>(b) << 16);
    }

    explicit CTreeCtrlEx(QWidget* parent = nullptr);

    // A new item with this text, the last child of parent (the last top-level
    // item when parent is null).
    QTreeWidgetItem* InsertItem(const QString& text, QTreeWidgetItem* parent = nullptr);

    // Creates or replaces the item's colour record; shown at the next paint.
    void SetItemColor(QTreeWidgetItem* item, uint32_t color);
    // The record's colour; empty when the item has none.
    std::optional<uint32_t> ItemColor(const QTreeWidgetItem* item) const;
    void SetItemBold(QTreeWidgetItem* item, bool bold);
    bool IsItemBold(const QTreeWidgetItem* item) const;

    // The colour an item's text is drawn in when it is not shown selected.
    QColor TextColor(const QTreeWidgetItem* item) const;
    static QColor ToQColor(uint32_t color, const QColor& windowText);
};

} // namespace sentinax
