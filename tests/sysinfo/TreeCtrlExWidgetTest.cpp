#include "sysinfo/CTreeCtrlEx.h"

#include <QApplication>
#include <QImage>
#include <gtest/gtest.h>

namespace sentinax {
namespace {

constexpr uint32_t kRed = CTreeCtrlEx::Rgb(255, 0, 0);
constexpr uint32_t kBlue = CTreeCtrlEx::Rgb(0, 0, 255);

bool Near(QRgb pixel, QColor color) {
    return std::abs(qRed(pixel) - color.red()) < 40 &&
           std::abs(qGreen(pixel) - color.green()) < 40 &&
           std::abs(qBlue(pixel) - color.blue()) < 40;
}

struct Tree {
    CTreeCtrlEx tree;
    QTreeWidgetItem* category;
    QTreeWidgetItem* instance;
    QTreeWidgetItem* property;
    Tree() {
        tree.resize(420, 240);
        category = tree.InsertItem("Audio");
        tree.SetItemBold(category, true);
        instance = tree.InsertItem("Sx_SoundDevice.DeviceID=\"card0\"", category);
        tree.SetItemColor(instance, kBlue);
        tree.SetItemBold(instance, true);
        property = tree.InsertItem("Name (string)   ==> \"HDA Intel PCH\"", instance);
        tree.SetItemColor(property, kRed);
        tree.expandAll();
    }
    QImage Picture() { return tree.viewport()->grab().toImage(); }
    // Pixels of the item's row that are near the colour.
    int Count(QTreeWidgetItem* item, QColor color) {
        const QImage image = Picture();
        const QRect row = tree.visualItemRect(item);
        int n = 0;
        for (int y = row.top(); y <= row.bottom(); ++y)
            for (int x = row.left(); x <= row.right() && x < image.width(); ++x)
                n += Near(image.pixel(x, y), color) ? 1 : 0;
        return n;
    }
    // Pixels of the row darker than the background (ink).
    int Ink(QTreeWidgetItem* item) {
        const QImage image = Picture();
        const QRect row = tree.visualItemRect(item);
        int n = 0;
        for (int y = row.top(); y <= row.bottom(); ++y)
            for (int x = row.left(); x <= row.right() && x < image.width(); ++x)
                n += qGray(image.pixel(x, y)) < 160 ? 1 : 0;
        return n;
    }
};

TEST(CTreeCtrlEx, ItemsShowTheirOwnColourAndWeight) {
    Tree t;
    EXPECT_GT(t.Count(t.instance, Qt::blue), 10);
    EXPECT_EQ(t.Count(t.instance, Qt::red), 0);
    EXPECT_GT(t.Count(t.property, Qt::red), 10);
    EXPECT_EQ(t.Count(t.property, Qt::blue), 0);
    EXPECT_EQ(t.Count(t.category, Qt::red) + t.Count(t.category, Qt::blue), 0);
    EXPECT_FALSE(t.tree.ItemColor(t.category)) << "only SetItemColor makes a record";

    // The same text bold carries more ink than in normal weight.
    const int boldInk = t.Ink(t.category);
    t.tree.SetItemBold(t.category, false);
    EXPECT_FALSE(t.tree.IsItemBold(t.category));
    EXPECT_LT(t.Ink(t.category), boldInk);
}

TEST(CTreeCtrlEx, LaterColourReplacesTheRecord) {
    Tree t;
    t.tree.SetItemColor(t.property, kBlue);
    EXPECT_EQ(t.tree.ItemColor(t.property), kBlue);
    EXPECT_GT(t.Count(t.property, Qt::blue), 10);
    EXPECT_EQ(t.Count(t.property, Qt::red), 0);
    // All bits set stands for the window text colour.
    t.tree.SetItemColor(t.property, CTreeCtrlEx::kWindowTextColor);
    EXPECT_EQ(t.tree.TextColor(t.property), t.tree.palette().color(QPalette::Text));
    EXPECT_EQ(t.Count(t.property, Qt::blue), 0);
}

TEST(CTreeCtrlEx, SelectionLookDependsOnTheFocus) {
    Tree t;
    t.tree.setCurrentItem(t.property);
    ASSERT_TRUE(t.property->isSelected());

    // Without the focus the text keeps its colour inside a window-coloured box.
    t.tree.clearFocus();
    ASSERT_FALSE(t.tree.hasFocus());
    EXPECT_GT(t.Count(t.property, Qt::red), 10);
    EXPECT_GT(t.Count(t.property, t.tree.palette().color(QPalette::Base)), 10);

    t.tree.show();
    t.tree.activateWindow();
    t.tree.setFocus();
    QApplication::processEvents();
    if (!t.tree.hasFocus()) {
        GTEST_SKIP() << "this platform gives no focus";
    }
    // With the focus: the selection's own look, not red.
    EXPECT_EQ(t.Count(t.property, Qt::red), 0);
}

} // namespace
} // namespace sentinax
