// The "WMI information" dialog: the machine's inventory as a three-level tree
// (categories bold, instances blue and bold, property lines red), read from an
// inventory source while the dialog initialises. The first fill in a run also
// writes WMIinfo.txt in the working folder (see WmiRecordFile.h).
//
// How the main window opens it (the "WMI info" command of the Options menu):
//
//     ShowWmiInfoDialog(app.WmiFile, this);   // WmiFileState owned by the application
//
// which builds a fresh dialog over the Linux source and runs it modally, so
// every opening reads the machine again. When the source cannot start at all,
// the message box "WMI not support your OS !!!" appears and the dialog opens
// with an empty tree.
#pragma once

#include "CTreeCtrlEx.h"
#include "InventoryFill.h"
#include "InventorySource.h"
#include "WmiFileState.h"

#include <QDialog>
#include <string>

namespace sentinax {

class CWmiInfoDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kCaption = "WMI information";
    static constexpr const char* kUnavailable = "WMI not support your OS !!!";
    // Past this much time the fill shows its progress.
    static constexpr int kProgressAfterMs = 200;

    // source and state must outlive the dialog. filePath: the inventory file,
    // relative to the working folder unless absolute.
    CWmiInfoDialog(InventorySource& source, WmiFileState& state, QWidget* parent = nullptr,
                   std::string filePath = "WMIinfo.txt");
    ~CWmiInfoDialog() override;

    // Fills the tree (and on the first fill of the run the file). Runs once;
    // exec() runs it first when nobody has. Always true.
    bool OnInitDialog();
    int exec() override;

    CTreeCtrlEx& Tree() { return *tree_; }
    const InventoryFillResult& FillResult() const { return result_; }

protected:
    // The failure message box; a seam for tests.
    virtual void ShowUnavailableMessage();

private:
    class TreeView;

    InventorySource& source_;
    WmiFileState& state_;
    std::string filePath_;
    CTreeCtrlEx* tree_;
    InventoryFillResult result_;
    bool initialised_ = false;
};

// Builds the dialog over this machine's inventory and runs it modally.
int ShowWmiInfoDialog(WmiFileState& state, QWidget* parent = nullptr);

} // namespace sentinax
