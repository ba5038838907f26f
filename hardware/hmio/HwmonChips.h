// The sensor chips of the machine as the placement sees them: every hwmon
// chip with the name libsensors gives it (prefix-bus-address, such as
// nct6798-isa-0290 or k10temp-pci-00c3) and its voltage, fan and temperature
// inputs with their labels.
//
// Two sources fill these: libsensors (SensorsLibrary, the user's lm-sensors
// configuration applies) and a plain scan of a sysfs tree (ScanHwmonFolder,
// used below a test root and for hwmon folders libsensors does not list).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace hmio {

enum class InputKind { Voltage, Fan, Temperature };

struct SensorInput {
    std::string Stem; // the kernel's attribute stem: in0, fan2, temp1
    InputKind Kind = InputKind::Voltage;
    // The label as libsensors gives it: the configuration's label, else the
    // driver's (<stem>_label), else the stem itself.
    std::string Label;
    bool ConfigLabel = false; // the label comes from the lm-sensors configuration
    std::string DriverLabel;  // the driver's own label (<stem>_label), else the stem
    int Number = -1;          // libsensors' subfeature number of <stem>_input; -1: none
    // Filled when the chips are first read (ReadFirstValues):
    std::optional<int64_t> Raw; // the attribute's own integer (mV, m°C, rpm)
    // libsensors' value in the same units, the configuration's compute applied.
    std::optional<int64_t> Computed;
    // The configuration's compute changes this input's value (or may: an
    // input reading 0 cannot tell), so it is read through libsensors.
    bool ConfigCompute = false;
};

struct SensorChip {
    std::string Name;   // as libsensors prints it: nct6798-isa-0290
    std::string Prefix; // the hwmon "name": nct6798
    std::string Bus;    // isa, pci, i2c, spi, acpi, virtual, ...
    int Address = 0;
    std::string Folder; // the hwmon folder, ending in '/'
    int Handle = -1;    // libsensors' chip, -1 for a chip found by the plain scan
    std::vector<SensorInput> Inputs;

    const SensorInput* Find(const std::string& stem) const;
};

// The stem's kind from its name (in*, fan*, temp*); nothing for other stems.
std::optional<InputKind> KindOfStem(const std::string& stem);

// The chip's bus and address as libsensors derives them from the hwmon
// folder's "device" link and that device's "subsystem" link: a platform
// device nct6775.656 is isa 0x290, a PCI device 0000:00:18.3 is pci 0x00c3,
// an I2C client 1-002d is i2c-1 0x2d, an ACPI device is acpi, no device is
// virtual. Sets Name, Bus and Address from Prefix and the folder.
void NameChipLikeLibsensors(SensorChip& chip);

// One hwmon folder read directly: its name and its *_input attributes (also
// those in its device/ folder, as older drivers keep them), labels from the
// *_label files. Nothing when the folder has no readable name.
std::optional<SensorChip> ScanHwmonFolder(const std::string& folder);

// Every hwmon*/ folder below sysClassHwmon ("<root>sys/class/hwmon/"),
// scanned as above.
std::vector<SensorChip> ScanHwmonFolders(const std::string& sysClassHwmon);

// Orders chips by name and then folder, so nothing depends on hwmonN numbering.
void SortChips(std::vector<SensorChip>& chips);

// Reads one attribute file (at most a small number): nothing when it cannot be
// read or is not one integer.
std::optional<int64_t> ReadIntegerFile(const std::string& path);

// The attribute's path: in the hwmon folder, else in its device/ folder.
std::string AttributePath(const SensorChip& chip, const std::string& attribute);

} // namespace hmio
