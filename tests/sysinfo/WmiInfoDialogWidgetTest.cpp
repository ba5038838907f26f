#include "FakeSysTree.h"
#include "InventoryDouble.h"

#include "sysinfo/CWmiInfoDialog.h"
#include "sysinfo/InventoryExport.h"
#include "sysinfo/LinuxInventorySource.h"
#include "sysinfo/WmiCategory.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

namespace sentinax {
namespace {

using testing::InventoryDouble;
using testing::Object;
using testing::Prop;
using testing::TempFolder;

constexpr uint32_t kBlue = CTreeCtrlEx::Rgb(0, 0, 255);
constexpr uint32_t kRed = CTreeCtrlEx::Rgb(255, 0, 0);

InventoryDouble Machine() {
    InventoryDouble source;
    source.Classes["Sx_DiskDrive"] = {
        Object("Sx_DiskDrive.DeviceID=\"sda\"",
               {Prop("DeviceID", "string", WmiValue::String("sda"), KeyQualifier::True),
                Prop("Model", "string", WmiValue::String("Ger\xC3\xA4t 860")),
                Prop("SerialNumber", "string", WmiValue::Null())})};
    source.Classes["Sx_OperatingSystem"] = {
        Object("Sx_OperatingSystem.Name=\"Debian\"",
               {Prop("Name", "string", WmiValue::String("Debian"), KeyQualifier::True)})};
    return source;
}

// Records the failure message instead of showing it.
class QuietDialog : public CWmiInfoDialog {
public:
    using CWmiInfoDialog::CWmiInfoDialog;
    int Messages = 0;

protected:
    void ShowUnavailableMessage() override { ++Messages; }
};

TEST(CWmiInfoDialog, ShowsTheInventoryAndWritesTheFileOnce) {
    TempFolder folder;
    const std::string file = folder.Path("WMIinfo.txt");
    InventoryDouble source = Machine();
    WmiFileState state;
    {
        QuietDialog dialog(source, state, nullptr, file);
        EXPECT_EQ(dialog.windowTitle(), "WMI information");
        dialog.OnInitDialog();
        EXPECT_EQ(dialog.Messages, 0);
        CTreeCtrlEx& tree = dialog.Tree();
        ASSERT_EQ(tree.topLevelItemCount(), 14);
        for (int i = 0; i < 14; ++i) {
            QTreeWidgetItem* category = tree.topLevelItem(i);
            EXPECT_EQ(category->text(0).toStdString(), kWmiCategories[i].Label);
            EXPECT_TRUE(tree.IsItemBold(category));
            EXPECT_FALSE(tree.ItemColor(category));
            EXPECT_FALSE(category->isExpanded());
        }
        QTreeWidgetItem* disks = tree.topLevelItem(6);
        ASSERT_EQ(disks->childCount(), 1);
        QTreeWidgetItem* sda = disks->child(0);
        EXPECT_EQ(sda->text(0), "Sx_DiskDrive.DeviceID=\"sda\"");
        EXPECT_EQ(tree.ItemColor(sda), kBlue);
        EXPECT_TRUE(tree.IsItemBold(sda));
        ASSERT_EQ(sda->childCount(), 2) << "the null serial number is not shown";
        EXPECT_EQ(sda->child(0)->text(0), "DeviceID (string)*   ==> \"sda\"");
        // The field's single-byte text, shown as the character it stands for.
        EXPECT_EQ(sda->child(1)->text(0), QString::fromUtf8("Model (string)   ==> \"Gerät 860\""));
        EXPECT_EQ(tree.ItemColor(sda->child(1)), kRed);
        EXPECT_FALSE(tree.IsItemBold(sda->child(1)));
        EXPECT_EQ(tree.topLevelItem(12)->childCount(), 1);
    }
    EXPECT_EQ(state.wmiFileDone, 1);
    const std::string bytes = folder.Read("WMIinfo.txt");
    EXPECT_EQ(bytes.size(), 205u + 211u + 3 * 103u);

    // A second opening reads the machine again but leaves the file alone.
    source.Classes["Sx_DiskDrive"].clear();
    QuietDialog again(source, state, nullptr, file);
    again.OnInitDialog();
    EXPECT_EQ(again.Tree().topLevelItem(6)->childCount(), 0);
    EXPECT_EQ(folder.Read("WMIinfo.txt"), bytes);
}

TEST(CWmiInfoDialog, NoSourceShowsTheMessageAndAnEmptyTree) {
    TempFolder folder;
    InventoryDouble source = Machine();
    source.ConnectWorks = false;
    WmiFileState state;
    QuietDialog dialog(source, state, nullptr, folder.Path("WMIinfo.txt"));
    dialog.OnInitDialog();
    dialog.OnInitDialog(); // initialisation runs once
    EXPECT_EQ(dialog.Messages, 1);
    EXPECT_EQ(dialog.Tree().topLevelItemCount(), 0);
    EXPECT_EQ(state.wmiFileDone, 1);
    EXPECT_FALSE(folder.Exists("WMIinfo.txt"));
}

// Runs in the folder for the life of the object.
class WorkingFolder {
public:
    explicit WorkingFolder(const std::string& dir) : previous_(::get_current_dir_name()) {
        EXPECT_EQ(::chdir(dir.c_str()), 0);
    }
    ~WorkingFolder() {
        EXPECT_EQ(::chdir(previous_), 0);
        std::free(previous_);
    }

private:
    char* previous_;
};

TEST(CWmiInfoDialog, ExecFillsFirstAndTheRealMessageBoxSaysSo) {
    TempFolder folder;
    WorkingFolder here(folder.Dir());
    InventoryDouble source = Machine();
    source.ConnectWorks = false;
    WmiFileState state;
    CWmiInfoDialog dialog(source, state);
    QString shown;
    // The message box runs first, inside initialisation; then the dialog itself.
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown = box->text();
        box->accept();
        QTimer::singleShot(0, [&] { dialog.reject(); });
    });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_EQ(shown, "WMI not support your OS !!!");

    // Working source, default file name: WMIinfo.txt lands in the working folder.
    InventoryDouble working = Machine();
    WmiFileState fresh;
    CWmiInfoDialog second(working, fresh);
    QTimer::singleShot(0, [&] { second.reject(); });
    second.exec();
    EXPECT_EQ(second.Tree().topLevelItemCount(), 14);
    EXPECT_EQ(folder.Read("WMIinfo.txt").size(), 205u + 211u + 3 * 103u);
}

// Reading each object takes a while; the third read looks for the progress window.
class SlowSource : public InventoryDouble {
public:
    bool ProgressSeen = false;
    int Reads = 0;
    std::optional<InventoryObject> GetObject(const std::string& path) override {
        if (++Reads == 3) {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                ProgressSeen =
                    ProgressSeen || (qobject_cast<QProgressDialog*>(w) && w->isVisible());
            }
        }
        QThread::msleep(120);
        return InventoryDouble::GetObject(path);
    }
};

TEST(CWmiInfoDialog, ALongFillShowsItsProgress) {
    TempFolder folder;
    SlowSource source;
    for (const char* cpu : {"CPU0", "CPU1", "CPU2"}) {
        const std::string path = std::string("Sx_Processor.DeviceID=\"") + cpu + "\"";
        source.Classes["Sx_Processor"].push_back(Object(path, {}));
    }
    WmiFileState state;
    QuietDialog dialog(source, state, nullptr, folder.Path("WMIinfo.txt"));
    dialog.OnInitDialog();
    EXPECT_TRUE(source.ProgressSeen);
    for (QWidget* w : QApplication::topLevelWidgets()) {
        EXPECT_FALSE(qobject_cast<QProgressDialog*>(w)) << "gone once the tree is filled";
    }
    EXPECT_EQ(dialog.Tree().topLevelItem(3)->childCount(), 3);
}

TEST(CWmiInfoDialog, ThisMachineFillsTheTree) {
    TempFolder folder;
    const auto source = MakeSystemInventorySource();
    WmiFileState state;
    QuietDialog dialog(*source, state, nullptr, folder.Path("WMIinfo.txt"));
    dialog.OnInitDialog();
    EXPECT_EQ(dialog.Messages, 0);
    ASSERT_EQ(dialog.Tree().topLevelItemCount(), 14);
    EXPECT_EQ(dialog.Tree().topLevelItem(12)->childCount(), 1) << "one operating system";
    EXPECT_GE(dialog.Tree().topLevelItem(3)->childCount(), 1) << "at least one processor";
}

TEST(InventoryExport, JsonIsValidAndTyped) {
    TempFolder root;
    testing::FakeSysTree(root).AddStandardMachine();
    LinuxInventorySource source(InventoryHost::UnderRoot(root.Dir()));
    std::ostringstream out;
    ASSERT_TRUE(WriteInventoryJson(source, out));
    QJsonParseError error{};
    const auto doc = QJsonDocument::fromJson(QByteArray::fromStdString(out.str()), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    const QJsonArray categories = doc.object()["categories"].toArray();
    ASSERT_EQ(categories.size(), 14);
    const QJsonObject disk = categories[6].toObject()["instances"].toArray()[0].toObject();
    EXPECT_EQ(disk["path"].toString(), "Sx_DiskDrive.DeviceID=\"sda\"");
    bool sawNull = false;
    for (const auto& p : disk["properties"].toArray()) {
        const QJsonObject property = p.toObject();
        if (property["name"] == "BytesPerSector") {
            EXPECT_EQ(property["value"].toInt(), 512);
        }
        if (property["name"] == "Rotational") {
            EXPECT_EQ(property["value"], QJsonValue(false));
        }
        if (property["name"] == "DeviceID") {
            EXPECT_TRUE(property["key"].toBool());
        }
        sawNull = sawNull || property["value"].isNull();
    }
    EXPECT_TRUE(sawNull) << "properties without a value are listed as null";

    // Broken UTF-8 and control characters in a device name still give valid JSON.
    EXPECT_EQ(JsonString("a\"\\\n\xC3"), "\"a\\\"\\\\\\u000a\xEF\xBF\xBD\"");
}

} // namespace
} // namespace sentinax
