#include "CWmiInfoDialog.h"

#include "LinuxInventorySource.h"
#include "WmiCategory.h"

#include "config/ui/DialogFont.h"
#include "hardware/Reporter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QMessageBox>
#include <QProgressDialog>
#include <QVBoxLayout>
#include <memory>

namespace sentinax {

namespace {

// The dialog's layout in dialog units: 306 by 197, the tree inset by 7 on every side.
constexpr int kDialogWidthDu = 306;
constexpr int kDialogHeightDu = 197;
constexpr int kMarginDu = 7;

constexpr uint32_t kInstanceColor = CTreeCtrlEx::Rgb(0, 0, 255);
constexpr uint32_t kPropertyColor = CTreeCtrlEx::Rgb(255, 0, 0);

} // namespace

// Inserts what the fill reports: each item the last child of the last item
// one level up.
class CWmiInfoDialog::TreeView : public InventoryView {
public:
    explicit TreeView(CTreeCtrlEx& tree) : tree_(tree) {}

    void AddCategory(std::string_view label) override {
        category_ = tree_.InsertItem(Latin1(label));
        tree_.SetItemBold(category_, true);
        instance_ = nullptr;
    }
    void AddInstance(std::string_view pathText) override {
        instance_ = tree_.InsertItem(Latin1(pathText), category_);
        tree_.SetItemColor(instance_, kInstanceColor);
        tree_.SetItemBold(instance_, true);
    }
    void AddProperty(std::string_view lineText) override {
        tree_.SetItemColor(tree_.InsertItem(Latin1(lineText), instance_), kPropertyColor);
    }

private:
    static QString Latin1(std::string_view text) {
        return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    }

    CTreeCtrlEx& tree_;
    QTreeWidgetItem* category_ = nullptr;
    QTreeWidgetItem* instance_ = nullptr;
};

CWmiInfoDialog::CWmiInfoDialog(InventorySource& source, WmiFileState& state, QWidget* parent,
                               std::string filePath)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      source_(source), state_(state), filePath_(std::move(filePath)), tree_(new CTreeCtrlEx(this)) {
    setWindowTitle(kCaption);
    setModal(true);
    const QSize base = DialogBaseUnits(font());
    const QSize margin = MapDialogSize(QSize(kMarginDu, kMarginDu), base);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(margin.width(), margin.height(), margin.width(), margin.height());
    layout->addWidget(tree_);
    resize(MapDialogSize(QSize(kDialogWidthDu, kDialogHeightDu), base));
}

CWmiInfoDialog::~CWmiInfoDialog() = default;

bool CWmiInfoDialog::OnInitDialog() {
    if (initialised_) {
        return true;
    }
    initialised_ = true;

    // A big inventory (hundreds of disks or interfaces) may take a while:
    // past a moment the user sees how far it got.
    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<QProgressDialog> progress;
    const auto onProgress = [&](int category, int) {
        if (!progress && clock.elapsed() >= kProgressAfterMs) {
            progress = std::make_unique<QProgressDialog>(
                tr("Reading the hardware inventory..."), QString(), 0,
                static_cast<int>(kWmiCategories.size()), parentWidget());
            progress->setWindowTitle(kCaption);
            progress->setMinimumDuration(0);
            progress->setWindowModality(Qt::ApplicationModal);
        }
        if (progress) {
            progress->setValue(category);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
    };

    WmiRecordFile file(filePath_);
    TreeView view(*tree_);
    tree_->setUpdatesEnabled(false);
    result_ = InventoryFill(source_, state_, file, view).Run(onProgress);
    tree_->setUpdatesEnabled(true);
    progress.reset();

    if (!result_.Connected) {
        ShowUnavailableMessage();
    }
    if (result_.InstancesDropped > 0) {
        ReportMessage(MessagePriority::Notice,
                      "inventory: " + std::to_string(result_.InstancesDropped) +
                          " instances beyond " +
                          std::to_string(InventoryFill::kMaxInstancesPerCategory) +
                          " per category not listed");
    }
    return true;
}

int CWmiInfoDialog::exec() {
    OnInitDialog();
    return QDialog::exec();
}

void CWmiInfoDialog::ShowUnavailableMessage() {
    QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(), kUnavailable,
                    QMessageBox::Ok, parentWidget());
    box.exec();
}

int ShowWmiInfoDialog(WmiFileState& state, QWidget* parent) {
    const auto source = MakeSystemInventorySource();
    CWmiInfoDialog dialog(*source, state, parent);
    return dialog.exec();
}

} // namespace sentinax
