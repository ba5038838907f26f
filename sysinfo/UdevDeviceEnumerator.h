// Devices from libudev: the only part of the program that includes it. Works
// without a running udev daemon (the devices then carry the kernel's values
// only); the hardware database is used when its compiled file is installed.
#pragma once

#include "DeviceEnumerator.h"

#include <memory>

struct udev;
struct udev_hwdb;

namespace sentinax {

class UdevDeviceEnumerator : public DeviceEnumerator {
public:
    // Null when libudev cannot make a context.
    static std::unique_ptr<UdevDeviceEnumerator> Create();
    ~UdevDeviceEnumerator() override;
    UdevDeviceEnumerator(const UdevDeviceEnumerator&) = delete;
    UdevDeviceEnumerator& operator=(const UdevDeviceEnumerator&) = delete;

    std::vector<DeviceInfo> List(const std::string& subsystem) override;
    std::optional<DeviceInfo> Find(const std::string& subsystem,
                                   const std::string& sysName) override;
    PropertyMap PropertiesAt(const std::string& sysPath) override;
    PropertyMap HardwareDatabase(const std::string& modalias) override;

private:
    explicit UdevDeviceEnumerator(struct udev* context);

    struct udev* udev_;
    struct udev_hwdb* hwdb_ = nullptr;
    bool hwdbTried_ = false;
};

} // namespace sentinax
