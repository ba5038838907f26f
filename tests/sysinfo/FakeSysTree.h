// A machine made of plain files under a temporary root, laid out as sysfs,
// procfs, /etc and udev's database lay it out, for the Linux inventory source.
// The standard machine has one of everything; AddDisk and AddInterface build
// the big trees of the benchmark.
#pragma once

#include "TempFolder.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sentinax::testing {

// One SMBIOS type 17 structure (SMBIOS 2.8 layout, 0x28 bytes) and its strings.
inline std::string MemoryDeviceStructure(uint16_t sizeField, uint16_t speed, uint8_t type,
                                         uint8_t form, const std::vector<std::string>& strings) {
    std::string s(0x28, '\0');
    s[0] = 17;
    s[1] = 0x28;
    const auto word = [&s](std::size_t at, uint16_t v) {
        s[at] = static_cast<char>(v & 0xFF);
        s[at + 1] = static_cast<char>(v >> 8);
    };
    word(0x08, 72); // total width
    word(0x0A, 64); // data width
    word(0x0C, sizeField);
    s[0x0E] = static_cast<char>(form);
    s[0x10] = 1; // device locator
    s[0x11] = 2; // bank locator
    s[0x12] = static_cast<char>(type);
    word(0x15, speed);
    s[0x17] = 3; // manufacturer
    s[0x18] = 4; // serial
    s[0x1A] = 5; // part number
    word(0x20, speed);
    word(0x26, 1200); // configured voltage, mV
    for (const std::string& text : strings) {
        s += text;
        s += '\0';
    }
    s += '\0';
    if (strings.empty()) {
        s += '\0';
    }
    return s;
}

class FakeSysTree {
public:
    explicit FakeSysTree(const TempFolder& root) : root_(root) {}

    void AddDisk(const std::string& name, int minor, const std::string& model,
                 uint64_t sectors) const {
        const std::string dev =
            "sys/devices/pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:" +
            std::to_string(minor);
        const std::string block = "sys/class/block/" + name;
        root_.Write(block + "/uevent", "MAJOR=8\nMINOR=" + std::to_string(minor) +
                                           "\nDEVNAME=" + name + "\nDEVTYPE=disk\n");
        root_.Write(block + "/size", std::to_string(sectors) + "\n");
        root_.Write(block + "/removable", "0\n");
        root_.Write(block + "/queue/rotational", "0\n");
        root_.Write(block + "/queue/logical_block_size", "512\n");
        root_.Write(dev + "/model", model + "\n");
        root_.Write(dev + "/vendor", "ATA     \n");
        root_.Write(dev + "/rev", "3B6Q\n");
        root_.Write(dev + "/type", "0\n");
        root_.Folder("sys/bus/scsi/drivers/sd");
        root_.Link(dev + "/driver", "../../../../../../../bus/scsi/drivers/sd");
        root_.Link(dev + "/subsystem", "../../../../../../../bus/scsi");
        root_.Link(block + "/device", "../../../" + dev.substr(4));
        root_.Write("run/udev/data/b8:" + std::to_string(minor),
                    "S:disk/by-id/ata-" + model + "\nE:ID_BUS=ata\nE:ID_SERIAL_SHORT=S" +
                        std::to_string(1000 + minor) + "\nE:ID_MODEL=" + model + "\n");
    }

    void AddPartition(const std::string& disk, int number) const {
        const std::string name = disk + std::to_string(number);
        const std::string uevent = "DEVTYPE=partition\nDEVNAME=" + name + "\n";
        root_.Write("sys/class/block/" + disk + "/" + name + "/partition", std::to_string(number));
        root_.Write("sys/class/block/" + disk + "/" + name + "/uevent", uevent);
        root_.Write("sys/class/block/" + name + "/uevent", uevent);
    }

    void AddInterface(const std::string& name, int ifindex, const std::string& mac,
                      int speedMbps) const {
        const std::string net = "sys/class/net/" + name;
        const std::string pci = "sys/devices/pci0000:00/0000:00:" + std::to_string(ifindex) + ".0";
        root_.Write(net + "/uevent",
                    "INTERFACE=" + name + "\nIFINDEX=" + std::to_string(ifindex) + "\n");
        root_.Write(net + "/type", "1\n");
        root_.Write(net + "/address", mac + "\n");
        root_.Write(net + "/mtu", "1500\n");
        root_.Write(net + "/ifindex", std::to_string(ifindex) + "\n");
        root_.Write(net + "/operstate", speedMbps > 0 ? "up\n" : "down\n");
        root_.Write(net + "/duplex", "full\n");
        // The kernel refuses to read the speed of a link that is down.
        if (speedMbps > 0) {
            root_.Write(net + "/speed", std::to_string(speedMbps) + "\n");
        }
        root_.Write(pci + "/modalias", "pci:v00008086d000015B8sv00001462sd00007B98bc02sc00i00\n");
        root_.Folder("sys/bus/pci/drivers/e1000e");
        root_.Link(pci + "/driver", "../../../bus/pci/drivers/e1000e");
        root_.Link(net + "/device", "../../../" + pci.substr(4));
        root_.Write("run/udev/data/n" + std::to_string(ifindex),
                    "E:ID_VENDOR_FROM_DATABASE=Intel Corporation\n"
                    "E:ID_MODEL_FROM_DATABASE=Ethernet Connection (2) I219-V\n");
    }

    // One machine with every category filled but Floppy.
    void AddStandardMachine() const {
        const std::string dmi = "sys/class/dmi/id/";
        root_.Write(dmi + "bios_vendor", "American Megatrends Inc.\n");
        root_.Write(dmi + "bios_version", "1.A0\n");
        root_.Write(dmi + "bios_date", "03/25/2024\n");
        root_.Write(dmi + "board_vendor", "Korvane\n");
        root_.Write(dmi + "board_name", "KX-5230\n");
        root_.Write(dmi + "board_version", "1.0\n");
        root_.Write(dmi + "board_asset_tag", "   \n"); // blank: no value
        root_.Write(dmi + "chassis_type", "3\n");
        root_.Write(
            "sys/firmware/dmi/tables/DMI",
            MemoryDeviceStructure(8192, 3200, 0x1A, 0x09,
                                  {"DIMM_A1", "BANK 0", "Kingston", "0A1B2C3D", "KF432C16BB/8"}) +
                MemoryDeviceStructure(0, 0, 0x02, 0x02, {}) + // an empty slot
                std::string("\x7f\x04\x00\x00\x00\x00", 6));

        root_.Write("proc/cpuinfo",
                    "processor\t: 0\nvendor_id\t: GenuineIntel\ncpu family\t: 6\nmodel\t\t: 158\n"
                    "model name\t: Intel(R) Core(TM) i7-8700   CPU @ 3.20GHz\nstepping\t: 10\n"
                    "microcode\t: 0xf4\ncpu MHz\t\t: 3192.000\nphysical id\t: 0\nsiblings\t: 2\n"
                    "core id\t\t: 0\ncpu cores\t: 1\nflags\t\t: fpu vme lm vmx\n\n"
                    "processor\t: 1\nvendor_id\t: GenuineIntel\ncpu family\t: 6\nmodel\t\t: 158\n"
                    "model name\t: Intel(R) Core(TM) i7-8700   CPU @ 3.20GHz\nstepping\t: 10\n"
                    "physical id\t: 0\nsiblings\t: 2\ncore id\t\t: 0\ncpu cores\t: 1\n"
                    "flags\t\t: fpu vme lm vmx\n\n");
        root_.Write("sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq", "4600000\n");
        root_.Write("sys/devices/system/cpu/cpu0/cache/index2/level", "2\n");
        root_.Write("sys/devices/system/cpu/cpu0/cache/index2/size", "256K\n");
        root_.Write("sys/devices/system/cpu/cpu0/cache/index2/type", "Unified\n");
        root_.Write("sys/devices/system/cpu/cpu0/cache/index3/level", "3\n");
        root_.Write("sys/devices/system/cpu/cpu0/cache/index3/size", "12M\n");
        root_.Write("sys/devices/system/cpu/cpu0/cache/index3/type", "Unified\n");
        root_.Write("proc/meminfo", "MemTotal:       16318480 kB\nMemFree:  1 kB\n"
                                    "MemAvailable:   12000000 kB\nSwapTotal:       2097148 kB\n"
                                    "SwapFree:        2097148 kB\n");
        root_.Write("proc/stat", "cpu  1 2 3\nbtime 1711357502\nprocesses 9\n");
        root_.Folder("proc/1");
        root_.Folder("proc/42");
        root_.Folder("proc/self");
        root_.Write("proc/asound/cards",
                    " 0 [PCH            ]: HDA-Intel - HDA Intel PCH\n"
                    "                      HDA Intel PCH at 0xf7f10000 irq 32\n");
        root_.Write("etc/os-release", "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n"
                                      "NAME=\"Debian GNU/Linux\"\nVERSION_ID=\"12\"\n"
                                      "VERSION=\"12 (bookworm)\"\nID=debian\n");

        AddDisk("sda", 0, "Samsung SSD 860 EVO 500GB", 976773168);
        AddPartition("sda", 1);
        // An optical drive, a floppy-less machine, and a loop device that is no disk.
        root_.Write("sys/class/block/sr0/uevent", "MAJOR=11\nMINOR=0\nDEVNAME=sr0\nDEVTYPE=disk\n");
        root_.Write("sys/class/block/sr0/size", "0\n");
        root_.Write("sys/class/block/sr0/device/type", "5\n");
        root_.Write("sys/class/block/sr0/device/vendor", "HL-DT-ST\n");
        root_.Write("sys/class/block/sr0/device/model", "DVDRAM GH24NSD1\n");
        root_.Write("sys/class/block/loop0/uevent",
                    "MAJOR=7\nMINOR=0\nDEVNAME=loop0\nDEVTYPE=disk\n");
        root_.Write("sys/class/block/loop0/size", "0\n");

        AddInterface("eth0", 2, "a8:a1:59:0f:3c:11", 1000);
        root_.Write("sys/class/net/lo/type", "772\n");
        root_.Write("sys/class/net/lo/address", "00:00:00:00:00:00\n");

        // A keyboard and a mouse known by their capabilities, a touchpad by udev.
        root_.Write("sys/class/input/input3/name", "AT Translated Set 2 keyboard\n");
        root_.Write("sys/class/input/input3/phys", "isa0060/serio0/input0\n");
        root_.Write("sys/class/input/input3/id/bustype", "0011\n");
        root_.Write("sys/class/input/input3/id/vendor", "0001\n");
        root_.Write("sys/class/input/input3/id/product", "0001\n");
        root_.Write("sys/class/input/input3/capabilities/ev", "120013\n");
        root_.Write("sys/class/input/input3/capabilities/key",
                    "402000000 3803078f800d001 feffffdfffefffff fffffffffffffffe\n");
        root_.Write("sys/class/input/input5/name", "Logitech USB Optical Mouse\n");
        root_.Write("sys/class/input/input5/id/bustype", "0003\n");
        root_.Write("sys/class/input/input5/capabilities/ev", "17\n");
        root_.Write("sys/class/input/input5/capabilities/key", "70000 0 0 0 0\n");
        root_.Write("sys/class/input/input5/capabilities/rel", "903\n");
        root_.Write("sys/class/input/input7/name", "SynPS/2 Synaptics TouchPad\n");
        root_.Write("run/udev/data/+input:input7", "E:ID_INPUT=1\nE:ID_INPUT_TOUCHPAD=1\n");
        root_.Write("sys/class/input/event3/uevent", "MAJOR=13\nMINOR=67\n");

        root_.Write("sys/class/sound/card0/id", "PCH\n");
        root_.Write("sys/class/sound/card0/uevent", "\n");
        root_.Write("run/udev/data/+sound:card0",
                    "E:ID_VENDOR_FROM_DATABASE=Intel Corporation\n"
                    "E:ID_MODEL_FROM_DATABASE=200 Series PCH HD Audio\n");
        root_.Write("sys/class/sound/controlC0/uevent", "MAJOR=116\nMINOR=2\n");

        root_.Write("sys/class/drm/card0/uevent", "MAJOR=226\nMINOR=0\nDEVNAME=dri/card0\n");
        root_.Write("sys/class/drm/card0/card0-HDMI-A-1/status", "connected\n");
        root_.Write("sys/class/drm/card0/card0-HDMI-A-1/modes", "2560x1440\n1920x1080\n");
        root_.Write("sys/class/drm/card0/card0-DP-1/status", "disconnected\n");
        root_.Write("sys/class/drm/card0/card0-DP-2/status", "connected\n");
        root_.Write("run/udev/data/c226:0",
                    "E:ID_VENDOR_FROM_DATABASE=NVIDIA Corporation\n"
                    "E:ID_MODEL_FROM_DATABASE=GP106 [GeForce GTX 1060 6GB]\n");
        root_.Write("sys/class/drm/renderD128/uevent", "MAJOR=226\nMINOR=128\n");
    }

private:
    const TempFolder& root_;
};

} // namespace sentinax::testing
