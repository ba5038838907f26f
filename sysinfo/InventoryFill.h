// Fills the inventory tree, and on the first fill of a run WMIinfo.txt, from a
// source. Plain logic: the dialog supplies the tree through InventoryView.
//
// Order: connect; then for each category in table order its item, then each
// instance in enumeration order (its heading record, then its property lines
// and their records). At the end wmiFileDone is raised, whether or not the
// source could start, so later fills in the run never touch the file.
#pragma once

#include "InventorySource.h"
#include "WmiFileState.h"
#include "WmiRecordFile.h"

#include <functional>
#include <string_view>

namespace sentinax {

// The tree as the fill sees it. Every insertion is the last child of its
// parent: a category at the root, an instance under the last category, a
// property line under the last instance. Texts are single-byte field text
// (ISO 8859-1).
class InventoryView {
public:
    virtual ~InventoryView() = default;
    virtual void AddCategory(std::string_view label) = 0;    // bold
    virtual void AddInstance(std::string_view pathText) = 0; // blue, bold
    virtual void AddProperty(std::string_view lineText) = 0; // red
};

struct InventoryFillResult {
    bool Connected = false;
    int Instances = 0;        // instance items shown
    int PropertyLines = 0;    // property items shown
    int InstancesDropped = 0; // instances beyond the per-category limit
};

class InventoryFill {
public:
    // At most this many instances are listed per category; the rest are
    // counted, neither shown, read nor written. Property lines are not limited.
    static constexpr int kMaxInstancesPerCategory = 1024;

    // Called after every instance (category index 0..13, instances shown so far in all).
    using Progress = std::function<void(int category, int instances)>;

    InventoryFill(InventorySource& source, WmiFileState& state, WmiRecordFile& file,
                  InventoryView& view)
        : source_(source), state_(state), file_(file), view_(view) {}

    InventoryFillResult Run(const Progress& progress = {});

private:
    void FillCategory(int index, const Progress& progress);
    void FillInstance(const InventoryObject& instance, std::string_view className);
    void FillProperties(const std::string& relativePath);

    InventorySource& source_;
    WmiFileState& state_;
    WmiRecordFile& file_;
    InventoryView& view_;
    InventoryFillResult result_;
};

} // namespace sentinax
