#include "CTreeCtrlEx.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

namespace sentinax {

namespace {

constexpr int kColorRole = Qt::UserRole + 0x51;
constexpr int kBoldRole = Qt::UserRole + 0x52;

class StyleDelegate : public QStyledItemDelegate {
public:
    explicit StyleDelegate(CTreeCtrlEx* tree) : QStyledItemDelegate(tree), tree_(tree) {}

    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.data(kBoldRole).toBool()) {
            option->font.setWeight(QFont::Bold);
        }
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(4, 0);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QVariant record = index.data(kColorRole);
        const bool selected = option.state & QStyle::State_Selected;
        if (!record.isValid() || (selected && tree_->hasFocus())) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem o = option;
        initStyleOption(&o, index);
        const QColor color =
            CTreeCtrlEx::ToQColor(record.toUInt(), o.palette.color(QPalette::Text));
        QStyle* style = o.widget ? o.widget->style() : tree_->style();
        if (!selected) {
            o.palette.setColor(QPalette::Text, color);
            style->drawControl(QStyle::CE_ItemViewItem, &o, painter, o.widget);
            return;
        }
        // Selected without the focus: the selection, then the label box over it.
        style->drawControl(QStyle::CE_ItemViewItem, &o, painter, o.widget);
        const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &o, o.widget);
        const QFontMetrics metrics(o.font);
        QRect box = textRect;
        box.setWidth(std::min(textRect.width(), metrics.horizontalAdvance(o.text) + 4));
        painter->save();
        painter->fillRect(box, o.palette.color(QPalette::Base));
        painter->setFont(o.font);
        painter->setPen(color);
        painter->drawText(box.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, o.text);
        painter->restore();
    }

private:
    CTreeCtrlEx* tree_;
};

} // namespace

CTreeCtrlEx::CTreeCtrlEx(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(1);
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setItemDelegate(new StyleDelegate(this));
    // Long property lines scroll sideways instead of being cut with an ellipsis.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setTextElideMode(Qt::ElideNone);
}

QTreeWidgetItem* CTreeCtrlEx::InsertItem(const QString& text, QTreeWidgetItem* parent) {
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    item->setText(0, text);
    return item;
}

void CTreeCtrlEx::SetItemColor(QTreeWidgetItem* item, uint32_t color) {
    if (item) {
        item->setData(0, kColorRole, QVariant::fromValue(static_cast<uint>(color)));
    }
}

std::optional<uint32_t> CTreeCtrlEx::ItemColor(const QTreeWidgetItem* item) const {
    const QVariant record = item ? item->data(0, kColorRole) : QVariant();
    if (!record.isValid()) {
        return std::nullopt;
    }
    return record.toUInt();
}

void CTreeCtrlEx::SetItemBold(QTreeWidgetItem* item, bool bold) {
    if (item) {
        item->setData(0, kBoldRole, bold);
    }
}

bool CTreeCtrlEx::IsItemBold(const QTreeWidgetItem* item) const {
    return item && item->data(0, kBoldRole).toBool();
}

QColor CTreeCtrlEx::TextColor(const QTreeWidgetItem* item) const {
    const QColor windowText = palette().color(QPalette::Text);
    const auto record = ItemColor(item);
    return record ? ToQColor(*record, windowText) : windowText;
}

QColor CTreeCtrlEx::ToQColor(uint32_t color, const QColor& windowText) {
    if (color == kWindowTextColor) {
        return windowText;
    }
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

} // namespace sentinax
