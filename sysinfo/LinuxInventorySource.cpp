#include "LinuxInventorySource.h"

#include "FirmwareClasses.h"
#include "InputClasses.h"
#include "MediaClasses.h"
#include "NetworkClasses.h"
#include "RelativePath.h"
#include "StorageClasses.h"
#include "SysFiles.h"
#include "SysfsDeviceEnumerator.h"
#include "SystemClasses.h"
#include "UdevDeviceEnumerator.h"
#include "WmiCategory.h"

#include <map>

namespace sentinax {

namespace {

// Several classes list the same subsystem (disks, optical and floppy drives
// all come from "block"): one connection lists each subsystem once. Objects
// are still read afresh through Find.
class ListOnceEnumerator : public DeviceEnumerator {
public:
    explicit ListOnceEnumerator(std::unique_ptr<DeviceEnumerator> inner)
        : inner_(std::move(inner)) {}

    std::vector<DeviceInfo> List(const std::string& subsystem) override {
        auto it = lists_.find(subsystem);
        if (it == lists_.end()) {
            it = lists_.emplace(subsystem, inner_->List(subsystem)).first;
        }
        return it->second;
    }
    std::optional<DeviceInfo> Find(const std::string& subsystem,
                                   const std::string& sysName) override {
        return inner_->Find(subsystem, sysName);
    }
    PropertyMap PropertiesAt(const std::string& sysPath) override {
        return inner_->PropertiesAt(sysPath);
    }
    PropertyMap HardwareDatabase(const std::string& modalias) override {
        return inner_->HardwareDatabase(modalias);
    }

private:
    std::unique_ptr<DeviceEnumerator> inner_;
    std::map<std::string, std::vector<DeviceInfo>> lists_;
};

class KeyEnumeration : public InstanceEnumeration {
public:
    KeyEnumeration(const InventoryClass& type, std::vector<std::string> keys)
        : type_(type), keys_(std::move(keys)) {}

    std::optional<InventoryObject> Next() override {
        if (next_ >= keys_.size()) {
            return std::nullopt;
        }
        InventoryObject object;
        object.RelativePath = type_.PathOf(keys_[next_++]);
        return object;
    }

private:
    const InventoryClass& type_;
    std::vector<std::string> keys_;
    std::size_t next_ = 0;
};

} // namespace

LinuxInventorySource::LinuxInventorySource(InventoryHost host) : host_(std::move(host)) {}

LinuxInventorySource::~LinuxInventorySource() = default;

bool LinuxInventorySource::Connect(const std::string& namespacePath) {
    classes_.clear();
    devices_.reset();
    usesUdev_ = false;
    if (namespacePath != kWmiNamespace) {
        return false;
    }
    if (host_.UseUdev) {
        devices_ = UdevDeviceEnumerator::Create();
        usesUdev_ = devices_ != nullptr;
    }
    const bool haveSysfs = IsDirectory(host_.SysRoot + "/class");
    if (!devices_) {
        devices_ = std::make_unique<SysfsDeviceEnumerator>(host_.SysRoot, host_.RunRoot);
    }
    const bool anything = usesUdev_ || haveSysfs ||
                          ReadFileText(host_.ProcRoot + "/cpuinfo").has_value() ||
                          ReadFileText(host_.EtcRoot + "/os-release").has_value() ||
                          ReadFileText(host_.UsrLibRoot + "/os-release").has_value();
    if (!anything) {
        devices_.reset();
        return false;
    }
    devices_ = std::make_unique<ListOnceEnumerator>(std::move(devices_));
    const InventoryContext context{host_, *devices_};
    classes_.push_back(MakeSoundDeviceClass(context));
    classes_.push_back(MakeBiosClass(context));
    classes_.push_back(MakeCdromDriveClass(context));
    classes_.push_back(MakeProcessorClass(context));
    classes_.push_back(MakeDesktopClass(context));
    classes_.push_back(MakeFloppyDriveClass(context));
    classes_.push_back(MakeDiskDriveClass(context));
    classes_.push_back(MakeKeyboardClass(context));
    classes_.push_back(MakePhysicalMemoryClass(context));
    classes_.push_back(MakeBaseBoardClass(context));
    classes_.push_back(MakePointingDeviceClass(context));
    classes_.push_back(MakeNetworkAdapterClass(context));
    classes_.push_back(MakeOperatingSystemClass(context));
    classes_.push_back(MakeVideoControllerClass(context));
    return true;
}

const InventoryClass* LinuxInventorySource::Find(const std::string& className) const {
    for (const auto& type : classes_) {
        if (type->Name() == className) {
            return type.get();
        }
    }
    return nullptr;
}

std::unique_ptr<InstanceEnumeration>
LinuxInventorySource::EnumerateInstances(const std::string& className) {
    const InventoryClass* type = Find(className);
    if (!type) {
        return nullptr;
    }
    auto keys = type->InstanceKeys();
    if (!keys) {
        return nullptr;
    }
    return std::make_unique<KeyEnumeration>(*type, std::move(*keys));
}

std::optional<InventoryObject> LinuxInventorySource::GetObject(const std::string& relativePath) {
    const auto path = ParseRelativePath(relativePath);
    if (!path || path->Keys.size() != 1) {
        return std::nullopt;
    }
    const InventoryClass* type = Find(path->ClassName);
    if (!type || path->Keys.front().first != type->KeyProperty()) {
        return std::nullopt;
    }
    return type->Object(path->Keys.front().second);
}

std::unique_ptr<InventorySource> MakeSystemInventorySource() {
    return std::make_unique<LinuxInventorySource>(InventoryHost::System());
}

} // namespace sentinax
