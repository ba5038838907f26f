#include "InventoryFill.h"

#include "PropertyLine.h"
#include "WmiCategory.h"

#include <string>

namespace sentinax {

InventoryFillResult InventoryFill::Run(const Progress& progress) {
    result_ = {};
    result_.Connected = source_.Connect(std::string(kWmiNamespace));
    if (result_.Connected) {
        for (int i = 0; i < static_cast<int>(kWmiCategories.size()); ++i) {
            view_.AddCategory(kWmiCategories[i].Label);
            FillCategory(i, progress);
        }
    }
    state_.wmiFileDone = 1;
    return result_;
}

void InventoryFill::FillCategory(int index, const Progress& progress) {
    const std::string_view className = kWmiCategories[index].ClassName;
    auto enumeration = source_.EnumerateInstances(std::string(className));
    if (!enumeration) {
        return;
    }
    int listed = 0;
    while (auto instance = enumeration->Next()) {
        if (listed == kMaxInstancesPerCategory) {
            // The rest is only counted (paths only, no objects read) so the caller can say so.
            ++result_.InstancesDropped;
            while (enumeration->Next()) {
                ++result_.InstancesDropped;
            }
            break;
        }
        ++listed;
        FillInstance(*instance, className);
        if (progress) {
            progress(index, result_.Instances);
        }
    }
}

void InventoryFill::FillInstance(const InventoryObject& instance, std::string_view className) {
    // An instance whose path cannot be read is shown (and written) under its
    // class name and has no property lines: there is no path to read it by.
    RelativePathField field;
    field.Assign(instance.RelativePath ? std::string_view(*instance.RelativePath) : className);
    view_.AddInstance(field.Text());
    ++result_.Instances;
    if (state_.wmiFileDone == 0) {
        if (state_.firstHeadingPending != 0) {
            file_.WriteFirstHeading(field);
        } else {
            file_.WriteLaterHeading(field);
        }
        state_.firstHeadingPending = 0;
    }
    // The object is read again by its full path, not by the field's text: a
    // path cut to the field or holding characters the field cannot show
    // still names its object.
    if (instance.RelativePath) {
        FillProperties(*instance.RelativePath);
    }
}

void InventoryFill::FillProperties(const std::string& relativePath) {
    const auto object = source_.GetObject(relativePath);
    if (!object || !object->Properties) {
        return;
    }
    PropertyLineField field;
    for (const InventoryProperty& property : *object->Properties) {
        const auto line = BuildPropertyLine(property);
        if (!line) {
            return; // the rest of this instance's properties are dropped
        }
        if (!IsPropertyLineShown(*line)) {
            continue;
        }
        field.Assign(*line);
        view_.AddProperty(field.Text());
        ++result_.PropertyLines;
        if (state_.wmiFileDone == 0) {
            file_.WriteProperty(field);
        }
    }
}

} // namespace sentinax
